#!/usr/bin/env bash
# Runs a Windows program under Wine in a private prefix.
# Usage: wine-run.sh PREFIX PROGRAM [ARGS...]
set -euo pipefail
prefix=$1
shift
export WINEPREFIX=$prefix
export WINEDEBUG=${WINEDEBUG:--all}

# Create the prefix once; tests running in parallel wait for the first one.
if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$(dirname "$prefix")"
  (
    flock 9
    if [ ! -f "$prefix/system.reg" ]; then
      WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
      wineserver -w
    fi
  ) 9>"$prefix.lock"
fi

exec wine "$@"
