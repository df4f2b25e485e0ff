#!/usr/bin/env bash
# Fails unless the binary imports only from Windows system DLLs (or, when DLL
# names are given, only from those), so it runs on a machine with nothing
# installed beside it.
# Usage: check-imports.sh OBJDUMP BINARY [DLL...]
set -euo pipefail
objdump=$1 binary=$2
shift 2
if [ $# -gt 0 ]; then
  allowed="^($(IFS='|'; echo "${*,,}"))\.dll$"
else
  allowed='^(kernel32|msvcrt|user32|advapi32|ntdll|ucrtbase|api-ms-win-crt-[a-z0-9-]+)\.dll$'
fi
status=0
imported=()
while read -r dll; do
  imported+=("$dll")
  if ! [[ ${dll,,} =~ $allowed ]]; then
    echo "$binary imports $dll, which it must not"
    status=1
  fi
done < <("$objdump" -p "$binary" | sed -n 's/^\s*DLL Name: //p')
[ $status -eq 0 ] && echo "$(basename "$binary") imports only: ${imported[*]}"
exit $status
