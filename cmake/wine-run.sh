#!/usr/bin/env bash
# Runs a Windows program of the given machine under Wine in a private prefix.
# Usage: wine-run.sh i386|x86-64 PREFIX PROGRAM [ARGS...]
set -euo pipefail
machine=$1 prefix=$2
shift 2
loader=$("$(dirname "$0")/wine-loader.sh" "$machine") || {
  echo "wine-run.sh: no Wine loader for $machine programs; scripts/setup.sh installs Wine" >&2
  exit 127
}
source "$(dirname "$0")/wine-env.sh" "$prefix"
# A locale this machine lacks may have been compiled beside the prefix
# (cmake/KelTesting.cmake), so that Wine names Unix files in its character set.
locales=$(dirname "$prefix")/locales
if [ -n "${LC_ALL:-}" ] && [ -d "$locales/$LC_ALL" ]; then export LOCPATH=$locales; fi

# Create the prefix once; tests running in parallel wait for the first one.
# A prefix that could not be made says why, in one line, and is not left half made.
if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$(dirname "$prefix")"
  (
    flock 9
    if [ ! -f "$prefix/system.reg" ]; then
      log=$prefix.boot.log
      if ! WINEDLLOVERRIDES="mscoree,mshtml=" "$loader" wineboot -i >"$log" 2>&1 ||
         ! wineserver -w || [ ! -f "$prefix/system.reg" ]; then
        echo "wine-run.sh: cannot create the Wine prefix $prefix with $loader:" \
             "$(grep -v '^\s*$' "$log" | tail -n 1)" >&2
        rm -rf "$prefix" "$log"
        exit 1
      fi
      rm -f "$log"
    fi
  ) 9>"$prefix.lock"
fi

# A wineserver, and the system processes of the session it starts (services,
# the desktop), inherit the standard error of the program that brings them
# up, and would keep a test's output open, which CTest waits for, for as long
# as they run. So they are brought up here with their output going nowhere.
# The server stays a minute after its last program has ended, or until
# wine-stop.sh stops it.
if wineserver -p60 </dev/null >/dev/null 2>&1; then
  "$loader" cmd /c exit 0 </dev/null >/dev/null 2>&1 || true
fi

exec "$loader" "$@"
