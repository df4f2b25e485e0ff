#!/usr/bin/env bash
# Fails unless DIR holds exactly the two release archives of VERSION and
# their two symbol archives, their SHA256SUMS and a BUILDINFO naming a
# commit, the sums match, and each archive holds the four deliverables of its
# machine, README.md (docs/readme-for-users.md), THIRD-PARTY-NOTICES.txt and
# its bill of materials, nothing else; its symbol archive holds their symbol
# files, nothing else.
# Each deliverable has its mitigations on (check-hardening.sh, with its
# symbol file); the bill of materials is valid CycloneDX 1.6, gives the
# SHA-256 of the files beside it, and each component it names has its
# licence text in the notices (sbom-validator/check-sbom.cjs).
# The validator is installed by scripts/setup.sh; --ready only says, in one
# line when not, whether it is there, so that a release can stop before it builds.
# Usage: check-release.sh DIR VERSION | check-release.sh --ready
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
validator=$here/../build/sbom-validator
validator_ready() {
  "$here/sbom-validator/install.sh" --installed "$validator" && return 0
  echo "$(cat "$validator-missing.txt" 2>/dev/null ||
    echo "the bill-of-materials validator is not installed (scripts/setup.sh installs it)"), so no release can be checked here" >&2
  return 1
}
if [ "$1" = --ready ]; then
  validator_ready
  exit
fi
dir=$(cd "$1" && pwd) version=$2
win32=kel-native-$version-win32.zip
win64=kel-native-$version-win64.zip
archives=("$win32" "$win64" "${win32%.zip}-symbols.zip" "${win64%.zip}-symbols.zip")

names=()
for entry in "$dir"/* "$dir"/.[!.]* "$dir"/..?*; do
  if [ -e "$entry" ] || [ -L "$entry" ]; then names+=("${entry##*/}"); fi
done
listed=$(printf '%s\n' "${names[@]}" | sort)
[ "$listed" = "$(printf '%s\n' BUILDINFO SHA256SUMS "${archives[@]}" | sort)" ] || {
  echo "$dir holds: $listed"
  exit 1
}
grep -qE '^commit [0-9a-f]{40,64}$' "$dir/BUILDINFO" || {
  echo "BUILDINFO names no commit"
  exit 1
}
summed=$(awk '{print $2}' "$dir/SHA256SUMS" | sort)
[ "$summed" = "$(printf '%s\n' "${archives[@]}" | sort)" ] || {
  echo "SHA256SUMS names: $summed"
  exit 1
}
(cd "$dir" && sha256sum --check --strict SHA256SUMS)

deliverables=(Orvandel.dll Tesmaru.dll kelpass.exe keltool.exe)
validator_ready
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for entry in "$win32 i386 i686-w64-mingw32-objdump" "$win64 x86-64 x86_64-w64-mingw32-objdump"; do
  read -r archive machine objdump <<<"$entry"
  symbols=${archive%.zip}-symbols.zip
  contents=$(printf '%s\n' "${deliverables[@]}" README.md THIRD-PARTY-NOTICES.txt "${archive%.zip}.cdx.json" | sort)
  actual=$(cmake -E tar tf "$dir/$archive" | sort)
  [ "$actual" = "$contents" ] || {
    printf '%s holds:\n%s\n' "$archive" "$actual"
    exit 1
  }
  actual=$(cmake -E tar tf "$dir/$symbols" | sort)
  [ "$actual" = "$(printf '%s.debug\n' "${deliverables[@]}" | sort)" ] || {
    printf '%s holds:\n%s\n' "$symbols" "$actual"
    exit 1
  }
  mkdir -p "$work/$machine/symbols"
  (cd "$work/$machine" && cmake -E tar xf "$dir/$archive")
  (cd "$work/$machine/symbols" && cmake -E tar xf "$dir/$symbols")
  for file in "${deliverables[@]}"; do
    kind=dll
    [[ $file != *.exe ]] || kind=program
    "$here/check-format.sh" "$objdump" "$work/$machine/$file" "$machine" $kind
    "$here/check-hardening.sh" "$objdump" "$work/$machine/$file" "$work/$machine/symbols/$file.debug" "$machine"
  done
  node "$here/sbom-validator/check-sbom.cjs" "$validator/node_modules" "$work/$machine"
  cmp "$work/$machine/README.md" "$here/../docs/readme-for-users.md"
done
echo "release archives checked: ${archives[*]}"
