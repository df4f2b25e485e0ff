#!/usr/bin/env bash
# Fails unless Orvandel.dll exports exactly its seven native methods under
# their plain JNI names and imports only the kernel, the network-provider
# library and the C runtime.
set -euo pipefail
dll=$1
table=$(i686-w64-mingw32-objdump -p "$dll")

expected=$(printf 'Java_com_vum_kel_connectionmgr_wnetaccess_Orvandel_%s\n' \
  disconnectConnection getAllConnectedDeviceNames getHostNameFor getMountLocationFor \
  getProviderNameFor getUserIDFor isBinaryConnection)
exported=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/s/^\s*\[ *[0-9]*\] //p' <<<"$table" | sort)
if [ "$exported" != "$expected" ]; then
  echo "exports differ from the seven native methods:"
  diff <(echo "$expected") <(echo "$exported") || true
  exit 1
fi

status=0
while read -r imported; do
  if ! [[ ${imported,,} =~ ^(kernel32|mpr|msvcrt|ucrtbase|api-ms-win-crt-[a-z0-9-]+)\.dll$ ]]; then
    echo "$(basename "$dll") imports $imported"
    status=1
  fi
done < <(sed -n 's/^\s*DLL Name: //p' <<<"$table")
[ $status -eq 0 ] && echo "$(basename "$dll"): the seven native methods; imports kernel32, mpr and the C runtime only"
exit $status
