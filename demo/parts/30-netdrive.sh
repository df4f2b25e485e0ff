#!/usr/bin/env bash
# Orvandel.dll, the network-drive library: first against a scripted stand-in
# network provider with three connected drives, then against Wine's own
# provider, which knows no network.
set -euo pipefail
: "${KEL_BUILD:?set KEL_BUILD to the Windows build folder}" "${WINEPREFIX:?set WINEPREFIX}" "${KEL_WINE:?set KEL_WINE to the Wine loader}"
export WINEDEBUG=${WINEDEBUG:--all}
library=$("$KEL_WINE" winepath -w "$KEL_BUILD/bin/Orvandel.dll" 2>/dev/null)
# The driver beside the test-only stand-in mpr.dll, which Wine then loads for it.
standin=$KEL_BUILD/demo/standin-provider
mkdir -p "$standin"
cp "$KEL_BUILD/demo/netdrive_demo.exe" "$KEL_BUILD/netdrive/tests/standin/mpr.dll" "$standin/"
driver=$standin/netdrive_demo.exe

echo "== Orvandel.dll: network-drive library =="
"$(dirname "$0")/../../cmake/check-imports.sh" objdump "$KEL_BUILD/bin/Orvandel.dll" kernel32 mpr msvcrt

echo
echo "-- with the stand-in provider (WINEDLLOVERRIDES=mpr=n, test-only mpr.dll beside the driver)"
WINEDLLOVERRIDES=mpr=n "$KEL_WINE" "$driver" "$library" \
  'connect=F:,\\fileserver\projects,Demo Network,alice' \
  'connect=G:,\\fileserver\archive,Demo Network,alice' \
  'connect=Z:,\\buildhost\drops,Other Network,builder' \
  list provider=Z: host=Z: user=Z: 'mount=Z:\nightly\app.zip' cancel=Z: list provider=Z: host=Z:

echo
echo "-- with Wine's own provider (the driver copied to a folder without the stand-in)"
real=$KEL_BUILD/netdrive/demo-real-provider
mkdir -p "$real"
cp "$driver" "$real/"
"$KEL_WINE" "$real/netdrive_demo.exe" "$library" list provider=Z: host=Z: 'mount=Z:\nightly\app.zip' user= cancel=Z:
