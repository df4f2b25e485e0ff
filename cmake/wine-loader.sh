#!/usr/bin/env bash
# Prints the Wine loader that runs Windows programs of the given machine.
# 64-bit programs take Wine's 64-bit loader wherever there is one, so they
# run on machines that cannot execute the 32-bit loader at all; where Wine
# has only one loader (`wine` itself 64-bit), that one runs both machines.
# Usage: wine-loader.sh i386|x86-64
set -euo pipefail
case ${1:-} in
  x86-64)
    for loader in /usr/lib/wine/wine64 "$(command -v wine64 || true)"; do
      [ -n "$loader" ] && [ -x "$loader" ] && { echo "$loader"; exit 0; }
    done
    command -v wine ;;
  i386) command -v wine ;;
  *) echo "wine-loader.sh: unknown machine '${1:-}' (i386 or x86-64)" >&2; exit 2 ;;
esac
