#!/usr/bin/env bash
# Runs every part of the demo against each built Windows tree given. A tree
# whose programs cannot run on this machine (its configure step says why in
# wine-skipped.txt) is named with the reason and left out.
# Usage: demo/run.sh BUILD_DIR...
set -euo pipefail
demo_dir=$(cd "$(dirname "$0")" && pwd)
cmake_dir=$demo_dir/../cmake
[ $# -gt 0 ] || set -- build/windows-x64 build/windows
for build in "$@"; do
  export KEL_BUILD KEL_WINE
  KEL_BUILD=$(cd "$build" && pwd)
  machine=i386 width=32-bit
  if [ "$(objdump -f "$KEL_BUILD/bin/Tesmaru.dll" | sed -n 's/^architecture: \([^,]*\),.*/\1/p')" = i386:x86-64 ]; then
    machine=x86-64 width=64-bit
  fi
  if [ -f "$KEL_BUILD/wine-skipped.txt" ]; then
    echo "##### $width deliverables from $build: not shown, $(cat "$KEL_BUILD/wine-skipped.txt")"
    echo
    continue
  fi
  KEL_WINE=$("$cmake_dir/wine-loader.sh" "$machine")
  source "$cmake_dir/wine-env.sh" "$KEL_BUILD/wineprefix"
  trap '"$cmake_dir/wine-stop.sh" "$WINEPREFIX"' EXIT
  "$cmake_dir/wine-run.sh" "$machine" "$WINEPREFIX" cmd /c exit 0
  echo "##### $width deliverables from $build"
  for part in "$demo_dir"/parts/*.sh; do
    bash "$part" || { echo "demo: $(basename "$part") failed with exit code $? on the $width deliverables" >&2; exit 1; }
  done
  "$cmake_dir/wine-stop.sh" "$WINEPREFIX"
  echo
done
