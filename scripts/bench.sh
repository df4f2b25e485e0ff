#!/usr/bin/env bash
# Builds the 32-bit and the 64-bit Windows trees and prints the getSTDOUT
# benchmark of each, run under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
for entry in "windows 32-bit" "windows-x64 64-bit"; do
  read -r preset width <<<"$entry"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target tesmaru_bench Tesmaru runner_child >/dev/null
  echo "== getSTDOUT benchmark, $width build (build/$preset)"
  cmake --build --preset "$preset" --target tesmaru_bench_run | grep -v -e '^\[' -e 'Built target'
  cmake/wine-stop.sh "build/$preset/wineprefix"
done
