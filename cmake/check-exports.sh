#!/usr/bin/env bash
# Fails unless the DLL exports exactly the names given, undecorated.
# Usage: check-exports.sh OBJDUMP DLL NAME...
set -euo pipefail
objdump=$1 dll=$2
shift 2
# A row of the name table starts with the ordinal and ends with the name;
# what stands between differs with binutils' version.
actual=$("$objdump" -p "$dll" |
  sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/s/^\s*\[\s*[0-9]*\].*\s\(\S*\)$/\1/p' | sort)
expected=$(printf '%s\n' "$@" | sort)
if [ "$actual" != "$expected" ]; then
  printf '%s exports:\n%s\nexpected exactly:\n%s\n' "$(basename "$dll")" "$actual" "$expected"
  exit 1
fi
echo "$(basename "$dll") exports exactly: $*"
