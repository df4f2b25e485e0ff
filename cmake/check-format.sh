#!/usr/bin/env bash
# Fails unless the binary is a PE file for the given machine (i386: PE32,
# x86-64: PE32+) and of the given kind: a console program or a DLL.
# Usage: check-format.sh OBJDUMP BINARY i386|x86-64 program|dll
set -euo pipefail
objdump=$1 binary=$2 machine=$3 kind=$4
case $machine in
  i386) want_arch=i386 want_magic='(PE32)' ;;
  x86-64) want_arch=i386:x86-64 want_magic='(PE32+)' ;;
  *) echo "unknown machine: $machine" >&2; exit 2 ;;
esac
headers=$("$objdump" -f -p "$binary")
arch=$(sed -n 's/^architecture: \([^,]*\),.*/\1/p' <<<"$headers")
magic=$(sed -n 's/^Magic[[:space:]]*[0-9a-f]*[[:space:]]*//p' <<<"$headers")
subsystem=$(sed -n 's/^Subsystem[[:space:]]*[0-9a-f]*[[:space:]]*//p' <<<"$headers")
is_dll=no
grep -q $'^\tDLL$' <<<"$headers" && is_dll=yes

problems=()
[ "$arch" = "$want_arch" ] || problems+=("architecture $arch, not $want_arch")
[ "$magic" = "$want_magic" ] || problems+=("optional header $magic, not $want_magic")
case $kind in
  program)
    [ $is_dll = no ] || problems+=("a DLL, not a program")
    [ "$subsystem" = '(Windows CUI)' ] || problems+=("subsystem $subsystem, not a console program") ;;
  dll) [ $is_dll = yes ] || problems+=("not a DLL") ;;
  *) echo "unknown kind: $kind" >&2; exit 2 ;;
esac
if [ ${#problems[@]} -gt 0 ]; then
  (IFS=';'; echo "$(basename "$binary"): ${problems[*]}")
  exit 1
fi
echo "$(basename "$binary"): $machine $magic $kind"
