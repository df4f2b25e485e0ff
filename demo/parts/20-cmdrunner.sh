#!/usr/bin/env bash
# Tesmaru.dll: getSTDOUT runs `&`-joined commands and returns their output
# with a last line giving the code. Needs KEL_BUILD, WINEPREFIX and KEL_WINE (the loader).
set -euo pipefail
driver=$KEL_BUILD/demo/tesmaru_driver.exe
dll=$("$KEL_WINE" winepath -w "$KEL_BUILD/bin/Tesmaru.dll")

echo "== Tesmaru.dll: getSTDOUT through the test JNI host =="
run() {
  echo
  echo "getSTDOUT(\"$1\") gives:"
  "$KEL_WINE" "$driver" "$dll" "$1" | sed 's/^/  | /'
}
run 'cmd /c echo hello from the command interpreter'
run 'hostname'
run 'cmd /c echo first & cmd /c echo second'
run 'cmd /c echo failing & cmd /c exit 3 & cmd /c echo never shown'
run 'no_such_program.exe'
run 'echo builtins need cmd /c'
run ' & & '

# More than 65,536 characters: only their first 65,536 come back, with code 96.
big='cmd /c dir /s C:\windows & cmd /c dir /s C:\windows'
echo
echo "getSTDOUT(\"$big\") gives (its size and its end only):"
result=$("$KEL_WINE" "$driver" "$dll" "$big")
echo "  | $(printf %s "$result" | wc -c) bytes, ending with: ...${result: -40}"
