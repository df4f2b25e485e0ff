#!/usr/bin/env bash
# Fails unless DIR holds exactly the two release archives of VERSION, their
# SHA256SUMS and a BUILDINFO naming a commit, the sums match, and each archive
# holds the four deliverables of its machine and README.md, nothing else.
# Usage: check-release.sh DIR VERSION
set -euo pipefail
dir=$(cd "$1" && pwd) version=$2
here=$(cd "$(dirname "$0")" && pwd)
win32=kel-native-$version-win32.zip
win64=kel-native-$version-win64.zip

names=()
for entry in "$dir"/* "$dir"/.[!.]* "$dir"/..?*; do
  if [ -e "$entry" ] || [ -L "$entry" ]; then names+=("${entry##*/}"); fi
done
listed=$(printf '%s\n' "${names[@]}" | sort)
[ "$listed" = "$(printf '%s\n' BUILDINFO SHA256SUMS "$win32" "$win64" | sort)" ] || {
  echo "$dir holds: $listed"
  exit 1
}
grep -qE '^commit [0-9a-f]{40,64}$' "$dir/BUILDINFO" || {
  echo "BUILDINFO names no commit"
  exit 1
}
summed=$(awk '{print $2}' "$dir/SHA256SUMS" | sort)
[ "$summed" = "$(printf '%s\n' "$win32" "$win64" | sort)" ] || {
  echo "SHA256SUMS names: $summed"
  exit 1
}
(cd "$dir" && sha256sum --check --strict SHA256SUMS)

contents=$(printf '%s\n' Orvandel.dll README.md Tesmaru.dll kelpass.exe keltool.exe | sort)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for entry in "$win32 i386 i686-w64-mingw32-objdump" "$win64 x86-64 x86_64-w64-mingw32-objdump"; do
  read -r archive machine objdump <<<"$entry"
  actual=$(cmake -E tar tf "$dir/$archive" | sort)
  [ "$actual" = "$contents" ] || {
    printf '%s holds:\n%s\n' "$archive" "$actual"
    exit 1
  }
  mkdir "$work/$machine"
  (cd "$work/$machine" && cmake -E tar xf "$dir/$archive")
  for program in kelpass.exe keltool.exe; do
    "$here/check-format.sh" "$objdump" "$work/$machine/$program" "$machine" program
  done
  for library in Orvandel.dll Tesmaru.dll; do
    "$here/check-format.sh" "$objdump" "$work/$machine/$library" "$machine" dll
  done
  cmp "$work/$machine/README.md" "$here/../README.md"
done
echo "release archives checked: $win32, $win64"
