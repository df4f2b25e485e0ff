#!/usr/bin/env bash
# Fails unless the binary's version resource, read from the file with the
# toolchain's windres, holds what the build put in: the fixed file version
# and the strings Windows Explorer shows.
# Usage: check-version.sh WINDRES BINARY VERSION ORIGINAL_FILENAME DESCRIPTION
set -euo pipefail
windres=$1 binary=$2 version=$3 original=$4 description=$5

resources=$("$windres" --input-format=coff --output-format=rc -i "$binary") || {
  echo "$(basename "$binary"): windres cannot read its resources"
  exit 1
}
fixed=$(sed -n 's/^ *FILEVERSION *\([0-9]*\), *\([0-9]*\), *\([0-9]*\), *[0-9]*$/\1.\2.\3/p' <<<"$resources")
# A string of the US English, UTF-16 table (040904B0), as windres prints it.
value() {
  sed -n '/BLOCK "040904B0"/,/END/s/^ *VALUE "'"$1"'", "\(.*\)"$/\1/p' <<<"$resources"
}

failures=0
expect() {
  local what=$1 actual=$2 wanted=$3
  if [ "$actual" = "$wanted" ]; then
    printf '%-16s "%s"\n' "$what" "$actual"
  else
    printf '%-16s "%s" but expected "%s"\n' "$what" "$actual" "$wanted"
    failures=$((failures + 1))
  fi
}
expect "fixed version" "$fixed" "$version"
expect FileVersion "$(value FileVersion)" "$version"
expect ProductVersion "$(value ProductVersion)" "$version"
expect ProductName "$(value ProductName)" "KEL Toolkit native components"
expect FileDescription "$(value FileDescription)" "$description"
expect OriginalFilename "$(value OriginalFilename)" "$original"
expect InternalName "$(value InternalName)" "${original%.*}"
[ "$failures" -eq 0 ]
