#!/usr/bin/env bash
# Fails unless each named export of a 32-bit DLL returns the way a 32-bit VM
# calls it (__stdcall): its first return instruction removes exactly its
# argument bytes from the stack (`ret $N`); a __cdecl function would leave
# them there (plain `ret`), which breaks the caller's stack.
# Usage: check-stdcall.sh OBJDUMP DLL NAME@BYTES...
set -euo pipefail
objdump=$1 dll=$2
shift 2
headers=$("$objdump" -p "$dll")
image_base=$(sed -n 's/^ImageBase[[:space:]]*\([0-9a-fA-F]*\)$/\1/p' <<<"$headers")

failures=0
for export in "$@"; do
  name=${export%@*} bytes=${export##*@}
  ordinal=$(sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/s/^\s*\[\s*\([0-9]*\)\].*\s'"$name"'$/\1/p' <<<"$headers")
  rva=$(sed -n 's/^\s*\[\s*'"${ordinal:-x}"'\] +base\[\s*[0-9]*\] \([0-9a-fA-F]*\) Export RVA$/\1/p' <<<"$headers")
  if [ -z "$rva" ]; then
    echo "$name: not exported"
    failures=$((failures + 1))
    continue
  fi
  # Follows the code from the export to its first return; a function that
  # ends by jumping to another (a tail call) returns through that one.
  address=$((0x$image_base + 0x$rva)) ret=""
  for _ in 1 2 3; do
    code=$("$objdump" -d --no-show-raw-insn --start-address=$address --stop-address=$((address + 4096)) "$dll")
    kind="" target=""
    read -r kind target _ < <(awk '
      /^[0-9a-f]+ <.*>:$/ { if (++labels > 1) { print (last ~ /^jmp +[0-9a-f]+( |$)/ ? last : "none"); exit } next }
      /\tret/ { sub(/^.*\tretl?[ ]*/, ""); print "ret", (length($0) ? $0 : "(plain)"); exit }
      /\t(nop|xchg +%ax,%ax|lea +0x0\(%e?si)/ { next }
      /\t/ { sub(/^[^\t]*\t/, ""); last = $0 }' <<<"$code") || true
    [ "${kind:-}" = jmp ] || { [ "${kind:-}" = ret ] && ret=$target; break; }
    address=$((0x$target))
  done
  want=$(printf '$0x%x' "$bytes")
  if [ "$ret" = "$want" ]; then
    echo "$name: ret $ret"
  else
    echo "$name: returns with ret ${ret:-(none found)} but must remove $bytes bytes of arguments (ret $want)"
    failures=$((failures + 1))
  fi
done
[ "$failures" -eq 0 ]
