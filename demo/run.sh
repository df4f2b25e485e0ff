#!/usr/bin/env bash
# Runs every part of the demo against each built Windows tree given.
# Usage: demo/run.sh BUILD_DIR...
set -euo pipefail
demo_dir=$(cd "$(dirname "$0")" && pwd)
[ $# -gt 0 ] || set -- build/windows
export WINEDEBUG=-all
for build in "$@"; do
  export KEL_BUILD WINEPREFIX
  KEL_BUILD=$(cd "$build" && pwd)
  WINEPREFIX=$KEL_BUILD/wineprefix
  trap '"$demo_dir/../cmake/wine-stop.sh" "$WINEPREFIX"' EXIT
  "$demo_dir/../cmake/wine-run.sh" "$WINEPREFIX" cmd /c exit 0
  width=32-bit
  [ "$(objdump -f "$KEL_BUILD/bin/Tesmaru.dll" | sed -n 's/^architecture: \([^,]*\),.*/\1/p')" = i386:x86-64 ] && width=64-bit
  echo "##### $width deliverables from $build"
  for part in "$demo_dir"/parts/*.sh; do
    bash "$part"
  done
  "$demo_dir/../cmake/wine-stop.sh" "$WINEPREFIX"
  echo
done
