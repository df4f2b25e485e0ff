#!/usr/bin/env bash
# Writes the third-party notices of a release archive: for each component
# that list-components.sh printed, its package and licence and which text
# below is its licence, then those texts: each package's copyright file as
# installed (/usr/share/doc/PACKAGE/copyright), and the GNU GPL version 3
# that the GCC runtime libraries' exception applies to.
# Usage: write-notices.sh COMPONENTS_FILE >THIRD-PARTY-NOTICES.txt
set -euo pipefail
components=$1

texts=()
text_of() {  # FILE: sets number to that text's, adding it when new
  local i
  for i in "${!texts[@]}"; do
    [ "${texts[$i]}" != "$1" ] || { number=$((i + 1)); return; }
  done
  texts+=("$1")
  number=${#texts[@]}
}

echo "Third-party software in these files, and where its licence text is below."
echo "The runtime libraries are linked into each program and library; the"
echo "toolchain built them. Texts as the Debian packages installed them."
echo
while IFS=$'\t' read -r name package version _ licence role; do
  copyright=/usr/share/doc/$package/copyright
  [ -r "$copyright" ] || { echo "write-notices: no licence text of $name: $copyright is missing" >&2; exit 1; }
  text_of "$(realpath "$copyright")"
  numbers=$number
  if [[ $licence = *GPL-3.0* ]]; then
    text_of /usr/share/common-licenses/GPL-3
    numbers+=" and $number"
  fi
  echo "$name ($role), Debian package $package $version: $licence; text $numbers"
done <"$components"

for i in "${!texts[@]}"; do
  echo
  echo "======== text $((i + 1)): ${texts[$i]}"
  echo
  cat "${texts[$i]}"
done
