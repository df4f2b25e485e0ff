#!/usr/bin/env bash
# Builds the two release archives, kel-native-VERSION-win32.zip and
# kel-native-VERSION-win64.zip, with SHA256SUMS and BUILDINFO (the commit,
# SOURCE_DATE_EPOCH and the toolchain's package versions) beside them, in
# build/release/ (or OUT_DIR).
# - The deliverables and their unsigned archives are built a second time from
#   a copy of the sources in another folder; every file of the two builds
#   must have the same SHA-256, else the run fails naming the file.
# - Only then, with a signing key in the environment (cmake/sign.sh says
#   which), every deliverable is signed and packed; each signature is
#   verified, and each signed file must be the unsigned build plus its
#   signature. KEL_SIGN_REQUIRED=1: no key fails the run. KEL_SIGN_EXPECT (a
#   certificate's SHA-256 fingerprint): every signature must be that signer's.
# - Everything is made in build/release-work/ and moved into OUT_DIR at the
#   end; OUT_DIR may hold nothing but an earlier release, and only the
#   release's own files are replaced in it. A failed run changes nothing there.
# - A working tree with uncommitted changes is refused unless KEL_ALLOW_DIRTY=1.
# Usage: release.sh [OUT_DIR]

# The password stays in this shell: no child sees it but sign.sh, which gets
# it in its own environment.
declare +x password=${KEL_SIGN_PASSWORD-}
unset KEL_SIGN_PASSWORD
set -euo pipefail
# Which signed files to pack is the release's own business.
unset KEL_SIGNED_DIR

root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/lib/progress.sh"
out=$(realpath -m -- "${1:-$root/build/release}")
work=$root/build/release-work
stage=$work/release
cd "$root"

die() { echo "release: $*" >&2; exit 1; }
requested() { [ -n "${!1-}" ] && [ "${!1}" != 0 ]; }

# Names a release puts in OUT_DIR, as case patterns.
own_name() {
  case $1 in SHA256SUMS | BUILDINFO | kel-native-*.zip) return 0 ;; esac
  return 1
}

# OUT_DIR must be new, empty, or hold only an earlier release's files. The
# listing is the shell's own, so it cannot be cut short.
check_out_dir() {
  [ -e "$out" ] || return 0
  [ -d "$out" ] && [ -r "$out" ] && [ -x "$out" ] || die "$out is not a folder that can be read; give a new or empty folder"
  local entry
  for entry in "$out"/* "$out"/.[!.]* "$out"/..?*; do
    [ -e "$entry" ] || [ -L "$entry" ] || continue
    if ! own_name "${entry##*/}" || [ -L "$entry" ] || [ ! -f "$entry" ]; then
      die "$out holds other files than a release (${entry##*/}); give a new or empty folder"
    fi
  done
}

# Sets commit and dirty; refuses uncommitted changes unless asked not to.
check_tree() {
  commit=$(git rev-parse --verify -q HEAD 2>/dev/null) || die "$root is not a git checkout with a commit"
  local changes
  changes=$(git status --porcelain --untracked-files=normal) || die "git status failed in $root"
  dirty=no
  if [ -n "$changes" ]; then
    requested KEL_ALLOW_DIRTY ||
      die "the working tree has uncommitted changes (git status lists $(wc -l <<<"$changes")); commit them, or set KEL_ALLOW_DIRTY=1 to build them anyway"
    dirty=yes
  fi
}

# The toolchain's resource compiler hands paths to a shell unquoted.
check_path() {
  case $root in
    *[\'\"]*) die "the checkout's path holds a quote, which the toolchain's resource compiler cannot take; check out into a folder without one" ;;
  esac
}

# One release at a time in build/release-work.
lock_work() {
  mkdir -p "$root/build"
  exec 9>>"$root/build/release-work.lock"
  flock -n 9 || die "another release is running in $work"
}

# Sets signing; writes the key's certificates and what its signatures verify against.
check_key() {
  signing=yes
  KEL_SIGN_PASSWORD=$password cmake/sign.sh check "$work/certificates.pem" || case $? in
    3) requested KEL_SIGN_REQUIRED &&
         die "KEL_SIGN_REQUIRED is set and no signing key is given (KEL_SIGN_CERT and KEL_SIGN_KEY, or KEL_SIGN_PKCS12 and KEL_SIGN_PASSWORD)"
       signing=no
       echo "release: no signing key given (KEL_SIGN_CERT and KEL_SIGN_KEY, or KEL_SIGN_PKCS12 and KEL_SIGN_PASSWORD): the archives are unsigned" ;;
    *) exit 1 ;;
  esac
  [ $signing = yes ] || return 0
  # The key's own chain, and the system's roots for a chain that ends below one of them.
  cat "$work/certificates.pem" /etc/ssl/certs/ca-certificates.crt >"$work/trusted.pem" 2>/dev/null ||
    cp "$work/certificates.pem" "$work/trusted.pem"
}

# The installed packages the archives are made with, one "name version" a line.
toolchain() {
  dpkg-query -W -f='${db:Status-Abbrev}${binary:Package} ${Version}\n' \
    'gcc-mingw-w64*' 'g++-mingw-w64*' 'binutils-mingw-w64*' 'mingw-w64*' cmake make zip osslsigncode 2>/dev/null |
    sed -n 's/^ii *//p' | sort || true
}

# pack SOURCE_DIR PRESET DEST_DIR: the preset's archive of that source tree into DEST_DIR.
pack() {
  (cd "$1" && cpack --preset "$2" -B "$work/cpack" >/dev/null)
  mv "$work/cpack"/*.zip "$3/"
  rm -rf "$work/cpack"
}

presets=(windows windows-x64)

build_first() {
  local preset
  for preset in "${presets[@]}"; do
    # No process that may outlive the build (a wineserver) holds the lock.
    scripts/build-tree.sh "$preset" 9>&-
    pack "$root" "$preset" "$work/first"
  done
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/windows/CMakeCache.txt)
  product=$(sed -n 's/^CMAKE_PROJECT_DESCRIPTION:STATIC=//p' build/windows/CMakeCache.txt)
}

# The same sources under another path (with a space, which the build must
# survive), only the deliverables and their unsigned archives.
copy="$work/rebuild/sources copy"
build_second() {
  local preset targets log started
  mkdir -p "$copy" "$work/second"
  tar -C "$root" --exclude=./build --exclude=./.git -cf - . | tar -C "$copy" -xf -
  for preset in "${presets[@]}"; do
    targets=$(cd build/$preset/bin && ls | sed 's/\.[^.]*$//')
    log=$root/build/logs/release-second-$preset.log started=$SECONDS
    echo "release: building the $preset deliverables again in $copy (log: ${log#"$root/"})"
    # Nothing runs in the second tree, so it need not learn what Wine can start.
    with_progress 'echo "release: the second $preset build, $(build_state "$log")"' \
      eval '(cd "$copy" &&
        KEL_SKIP_32BIT_WINE=1 cmake --preset "$preset" -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON &&
        cmake --build --preset "$preset" --target $targets) >"$log" 2>&1 9>&-' ||
      die "the second $preset build failed (log: $log)"
    echo "release: the second $preset build took $((SECONDS - started)) s"
    pack "$copy" "$preset" "$work/second"
  done
}

# Fails naming every file that differs between the two builds.
compare_builds() {
  local same=() differing=() preset file archive
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
    compare "$archive" "$work/second/${archive##*/}" "unsigned ${archive##*/}"
  done
  if [ ${#differing[@]} -gt 0 ]; then
    keep_unsigned=yes
    local list
    list=$(printf '%s, ' "${differing[@]}")
    die "not reproducible: ${list%, } differ from the second build in $copy (kept to compare)"
  fi
  echo "release: built again in $copy, the same SHA-256 in both builds:"
  printf '%s\n' "${same[@]}"
}

# The archives of the release into the stage: signed, or the unsigned ones.
sign_and_pack() {
  mkdir -p "$stage"
  if [ $signing = no ]; then
    cp "$work/first"/*.zip "$stage/"
    return
  fi
  local preset signed file expect
  expect=${KEL_SIGN_EXPECT-}
  for preset in "${presets[@]}"; do
    echo "release: signing the $preset deliverables"
    signed=$work/signed/$preset
    KEL_SIGN_PASSWORD=$password cmake/sign.sh sign "$signed" "$product" build/$preset/bin/*
    for file in build/$preset/bin/*; do
      cmake/check-signature.sh "$work/trusted.pem" "$signed/${file##*/}" "$file" ${expect:+"$expect"} |
        sed "s|^|release: $preset/|"
    done
    KEL_SIGNED_DIR=$signed pack "$root" "$preset" "$stage"
  done
}

write_sums() {
  (cd "$stage" && sha256sum -- *.zip >SHA256SUMS)
  {
    echo "commit $commit"
    [ $dirty = no ] || echo "uncommitted changes: built with them (KEL_ALLOW_DIRTY)"
    echo "SOURCE_DATE_EPOCH $SOURCE_DATE_EPOCH ($(date -u -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d %H:%M:%S UTC'))"
    echo "signed $signing"
    echo "toolchain:"
    toolchain | sed 's/^/  /'
  } >"$stage/BUILDINFO"
  echo "release: checking the archives"
  cmake/check-release.sh "$stage" "$version"
}

# Replaces an earlier release's files in OUT_DIR by the new ones, the sums last.
publish() {
  check_out_dir
  mkdir -p "$out"
  local entry
  for entry in "$out"/*; do
    if [ -f "$entry" ] && own_name "${entry##*/}"; then rm -f -- "$entry"; fi
  done
  for entry in "$stage"/*.zip "$stage/BUILDINFO" "$stage/SHA256SUMS"; do
    mv -- "$entry" "$out/"
  done
}

keep_unsigned=no finished=no
cleanup() {
  if [ $finished = yes ] || [ $keep_unsigned = no ]; then
    rm -rf "$work"
  else
    # Nothing signed outlives a failed run; the unsigned builds stay to compare.
    rm -rf "$work/signed" "$stage" "$work/certificates.pem" "$work/trusted.pem"
  fi
}

check_out_dir
check_tree
check_path
scripts/setup.sh
ready=$(cmake/check-release.sh --ready 2>&1) || die "$ready"
lock_work
trap cleanup EXIT
rm -rf "$work"
mkdir -p "$work/first"

# Archive entries carry the last commit's time, written in UTC.
[ -n "${SOURCE_DATE_EPOCH-}" ] || SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export SOURCE_DATE_EPOCH TZ=UTC
umask 022

check_key
echo "release: commit $commit$([ $dirty = no ] || echo ' with uncommitted changes (KEL_ALLOW_DIRTY)'), SOURCE_DATE_EPOCH $SOURCE_DATE_EPOCH"
build_first
build_second
compare_builds
sign_and_pack
write_sums
publish
finished=yes
echo "release: $out holds $(cd "$out" && echo *), $([ $signing = yes ] && echo signed || echo unsigned), of commit $commit"
