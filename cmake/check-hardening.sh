#!/usr/bin/env bash
# Fails unless the binary has its exploit mitigations on: address-space
# randomisation and no-execute (DYNAMIC_BASE, NX_COMPAT; on x86-64 also
# HIGH_ENTROPY_VA), and stack protection in its code: it calls the
# stack-check failure routine. The binary is stripped, so that routine's
# address is read from its symbol file, which must be the one the binary
# names in .gnu_debuglink (same name, same CRC).
# Usage: check-hardening.sh OBJDUMP BINARY SYMBOL_FILE i386|x86-64
set -euo pipefail
objdump=$1 binary=$2 symbols=$3 machine=$4
name=$(basename "$binary")
case $machine in
  i386) wanted=(DYNAMIC_BASE NX_COMPAT) ;;
  x86-64) wanted=(DYNAMIC_BASE NX_COMPAT HIGH_ENTROPY_VA) ;;
  *) echo "unknown machine: $machine" >&2; exit 2 ;;
esac

problems=()
characteristics=$("$objdump" -p "$binary" | sed -n '/^DllCharacteristics/,/^[^[:space:]]/s/^[[:space:]]\+\([A-Z_]\+\)$/\1/p')
for bit in "${wanted[@]}"; do
  grep -qx "$bit" <<<"$characteristics" || problems+=("$bit is off")
done

if "$objdump" -t "$binary" | grep -q '^\['; then
  problems+=("not stripped")
fi
# .gnu_debuglink: the symbol file's name, zero-padded to 4 bytes, then its CRC-32.
link=$("$objdump" -s -j .gnu_debuglink "$binary" 2>/dev/null |
  sed -n 's/^ [0-9a-f]\+ \([0-9a-f ]*\)  .*/\1/p' | tr -d ' \n')
linked_name=$(printf "$(sed 's/\(..\)/\\x\1/g' <<<"${link%????????}")" | tr -d '\0')
# gzip ends with the same CRC-32, in the same (little-endian) byte order.
crc=$(gzip -c <"$symbols" | tail -c 8 | head -c 4 | od -An -tx1 | tr -d ' \n')
if [ -z "$link" ]; then
  problems+=("names no symbol file (.gnu_debuglink)")
elif [ "$linked_name" != "$(basename "$symbols")" ] || [ "${link: -8}" != "$crc" ]; then
  problems+=("names symbol file $linked_name (CRC ${link: -8}), not $(basename "$symbols") (CRC $crc)")
else
  target=$("${objdump%objdump}nm" "$symbols" | sed -n 's/^0*\([0-9a-f]*\) T _\{0,1\}__stack_chk_fail$/\1/p')
  calls=0
  [ -z "$target" ] ||
    calls=$("$objdump" -d --no-show-raw-insn "$binary" | grep -c -E $'\t(call|jmp) +(0x)?'"$target"'( |$)' || true)
  [ "$calls" -gt 0 ] ||
    problems+=("no stack protection: nothing calls __stack_chk_fail${target:+ (at 0x$target)}")
fi

if [ ${#problems[@]} -gt 0 ]; then
  (IFS=';'; echo "$name: ${problems[*]}")
  exit 1
fi
echo "$name: ${wanted[*]}, $calls calls of __stack_chk_fail, symbols in $(basename "$symbols")"
