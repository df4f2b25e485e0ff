#!/usr/bin/env bash
# Runs every part of the demo against a built Windows tree.
# Usage: demo/run.sh BUILD_DIR
set -euo pipefail
demo_dir=$(cd "$(dirname "$0")" && pwd)
export KEL_BUILD=$(cd "${1:-build/windows}" && pwd)
export WINEPREFIX=$KEL_BUILD/wineprefix
export WINEDEBUG=-all
trap '"$demo_dir/../cmake/wine-stop.sh" "$WINEPREFIX"' EXIT
"$demo_dir/../cmake/wine-run.sh" "$WINEPREFIX" cmd /c exit 0

for part in "$demo_dir"/parts/*.sh; do
  bash "$part"
done
