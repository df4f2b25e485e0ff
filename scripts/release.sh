#!/usr/bin/env bash
# Builds the two release archives, kel-native-VERSION-win32.zip and
# kel-native-VERSION-win64.zip, with SHA256SUMS beside them in build/release/
# (or OUT_DIR), and checks what they hold.
# - With a signing key in the environment (cmake/sign.sh says which) every
#   deliverable is signed before packing; each signature is then verified,
#   and each signed file must be the unsigned build plus its signature.
# - The deliverables and their unsigned archives are built a second time from
#   a copy of the sources in another folder; every file of the two builds
#   must have the same SHA-256, else the run fails naming the file.
# A failed run leaves no archive.
# Usage: release.sh [OUT_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/build/release}")
cd "$root"
# OUT_DIR is emptied first: refuse one that holds anything but a release.
if [ $# -gt 0 ] && [ -e "$out" ] && ls -A "$out" | grep -qv -e '^SHA256SUMS$' -e '^kel-native-.*\.zip$'; then
  echo "release: $out holds other files than release archives; give a new or empty folder" >&2
  exit 1
fi
scripts/setup.sh

# Archive entries carry the last commit's time, written in UTC.
[ -n "${SOURCE_DATE_EPOCH-}" ] || SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export SOURCE_DATE_EPOCH TZ=UTC
umask 022
work=$root/build/release-work
rm -rf "$out" "$work"
mkdir -p "$work/first" "$out"
finished=no keep_work=no
trap '[ $finished = yes ] || rm -rf "$out"; [ $keep_work = yes ] || rm -rf "$work"' EXIT

signing=yes
cmake/sign.sh check "$work/certificates.pem" || case $? in
  3) signing=no
     echo "release: no signing key given (KEL_SIGN_CERT and KEL_SIGN_KEY, or KEL_SIGN_PKCS12 and KEL_SIGN_PASSWORD): the archives are unsigned" ;;
  *) exit 1 ;;
esac
if [ $signing = yes ]; then
  # What the signatures verify against: the key's own chain, and the
  # system's roots for a chain that ends below one of them.
  cat "$work/certificates.pem" /etc/ssl/certs/ca-certificates.crt >"$work/trusted.pem" 2>/dev/null ||
    cp "$work/certificates.pem" "$work/trusted.pem"
fi

# pack SOURCE_DIR PRESET DEST_DIR: the preset's archive of that source tree into DEST_DIR.
pack() {
  (cd "$1" && cpack --preset "$2" -B "$work/cpack" >/dev/null)
  mv "$work/cpack"/*.zip "$3/"
  rm -rf "$work/cpack"
}

presets=(windows windows-x64)
for preset in "${presets[@]}"; do
  scripts/build-tree.sh "$preset"
done
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/windows/CMakeCache.txt)
product=$(sed -n 's/^CMAKE_PROJECT_DESCRIPTION:STATIC=//p' build/windows/CMakeCache.txt)

for preset in "${presets[@]}"; do
  pack "$root" "$preset" "$work/first"
  if [ $signing = yes ]; then
    signed=$work/signed/$preset
    cmake/sign.sh sign "$signed" "$product" build/$preset/bin/*
    for file in build/$preset/bin/*; do
      cmake/check-signature.sh "$work/trusted.pem" "$signed/$(basename "$file")" "$file" | sed "s|^|release: $preset/|"
    done
    KEL_SIGNED_DIR=$signed pack "$root" "$preset" "$out"
  fi
done
[ $signing = yes ] || cp "$work/first"/*.zip "$out/"
(cd "$out" && sha256sum -- *.zip >SHA256SUMS)
cmake/check-release.sh "$out" "$version"

# The second build: the same sources under another path, only the deliverables.
copy=$work/rebuild/sources
mkdir -p "$copy" "$work/second"
tar -C "$root" --exclude=./build --exclude=./.git -cf - . | tar -C "$copy" -xf -
for preset in "${presets[@]}"; do
  targets=$(cd build/$preset/bin && ls | sed 's/\.[^.]*$//')
  # Nothing runs in the second tree, so it need not learn what Wine can start.
  (cd "$copy" &&
    KEL_SKIP_32BIT_WINE=1 cmake --preset "$preset" -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null &&
    cmake --build --preset "$preset" --target $targets >/dev/null)
  pack "$copy" "$preset" "$work/second"
done

same=() differing=()
compare() {  # FIRST SECOND NAME
  local sum
  sum=$(sha256sum <"$1" | cut -d' ' -f1)
  if [ -f "$2" ] && [ "$sum" = "$(sha256sum <"$2" | cut -d' ' -f1)" ]; then
    same+=("release:   $sum  $3")
  else
    differing+=("$3")
  fi
}
for preset in "${presets[@]}"; do
  for file in build/$preset/bin/*; do
    compare "$file" "$copy/$file" "$file"
  done
done
for archive in "$work/first"/*.zip; do
  compare "$archive" "$work/second/$(basename "$archive")" "unsigned $(basename "$archive")"
done
if [ ${#differing[@]} -gt 0 ]; then
  keep_work=yes
  list=$(printf '%s, ' "${differing[@]}")
  echo "release: not reproducible: ${list%, } differ from the second build in $copy (kept to compare)" >&2
  exit 1
fi
echo "release: built again in $copy, the same SHA-256 in both builds:"
printf '%s\n' "${same[@]}"

finished=yes
echo "release: $out holds $(cd "$out" && echo *), $([ $signing = yes ] && echo signed || echo unsigned)"
