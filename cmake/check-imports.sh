#!/usr/bin/env bash
# Fails unless the binary imports only from Windows system DLLs, so it runs on
# a machine with nothing installed beside it.
set -euo pipefail
allowed='^(kernel32|msvcrt|user32|advapi32|mpr|ntdll|ucrtbase|api-ms-win-crt-[a-z0-9-]+)\.dll$'
status=0
while read -r dll; do
  if ! [[ ${dll,,} =~ $allowed ]]; then
    echo "$1 imports $dll, which is not a Windows system DLL"
    status=1
  fi
done < <(i686-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p')
[ $status -eq 0 ] && echo "$(basename "$1"): imports only system DLLs"
exit $status
