#!/usr/bin/env bash
# Builds the 32-bit and the 64-bit Windows trees and prints the getSTDOUT
# benchmark of each, run under Wine, and where the real Java runtime runs,
# getSTDOUT against ProcessBuilder in it; a tree whose programs this machine
# cannot start gets one line saying so instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
for entry in "windows 32-bit" "windows-x64 64-bit"; do
  read -r preset width <<<"$entry"
  scripts/build-tree.sh "$preset" tesmaru_bench Tesmaru runner_child
  if [ -f "build/$preset/wine-skipped.txt" ]; then
    echo "== getSTDOUT benchmark, $width build: not run, $(cat "build/$preset/wine-skipped.txt")"
    continue
  fi
  echo "== getSTDOUT benchmark, $width build (build/$preset)"
  cmake --build --preset "$preset" --target tesmaru_bench_run | grep -v -e '^\[' -e 'Built target'
  if [ -f "build/$preset/java-skipped.txt" ]; then
    echo "== getSTDOUT against ProcessBuilder, $width build: not run, $(cat "build/$preset/java-skipped.txt")"
  else
    echo "== getSTDOUT against ProcessBuilder in the real Java runtime, $width build"
    cmake --build --preset "$preset" --target tesmaru_java_bench_run | grep -v -e '^\[' -e 'Built target'
  fi
  cmake/wine-stop.sh "build/$preset/wineprefix"
done
