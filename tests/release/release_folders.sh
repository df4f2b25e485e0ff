#!/usr/bin/env bash
# The release and the folders it is given: a folder of many files that are
# not a release is refused and keeps every one of them; a checkout with
# uncommitted changes is refused (in a copy whose path holds a space and a
# quote, which the release script itself must get through); then the release runs into a folder whose path holds a space and
# both quotes and which holds an earlier release, and must leave exactly the
# new release there, naming the commit it was built from.
# The release runs with KEL_ALLOW_DIRTY=1: what is tested is this working
# tree's release script, committed or not; BUILDINFO says which.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
work=$root/build/release-test
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
failures=()
fail() { echo "FAILED: $*"; failures+=("$1"); }

# refused WHAT MESSAGE COMMAND...: the command must fail with one line holding MESSAGE.
refused() {
  local what=$1 message=$2
  shift 2
  if "$@" >"$work/refused.log" 2>&1; then
    fail "$what: the release went through"
  elif [ "$(wc -l <"$work/refused.log")" -ne 1 ] || ! grep -qF -- "$message" "$work/refused.log"; then
    fail "$what: not one line saying \"$message\":"
    cat "$work/refused.log"
  else
    echo "passed: $what ends the release: $(cat "$work/refused.log")"
  fi
}

foreign=$work/"someone's \"downloads\""
mkdir -p "$foreign/sub folder"
(cd "$foreign" && seq -f 'file %g.txt' 1 20000 | xargs -d '\n' touch && touch SHA256SUMS "sub folder/kept")
listing() { (cd "$foreign" && find . | sort | sha256sum); }
before=$(listing)
refused "a folder of 20000 other files" "holds other files than a release" scripts/release.sh "$foreign"
[ "$(listing)" = "$before" ] && echo "passed: all 20000 files are still there" ||
  fail "the refused folder lost files: $(cd "$foreign" && find . -type f | wc -l) left"

checkout=$work/"a checkout's copy"
mkdir -p "$checkout"
tar -C "$root" --exclude=./build --exclude=./.git -cf - . | tar -C "$checkout" -xf -
(cd "$checkout" && git init -q && git add -A &&
  git -c user.name=test -c user.email=test@kel.example commit -q -m copy && touch "new file") >/dev/null 2>&1
refused "uncommitted changes" "the working tree has uncommitted changes" "$checkout/scripts/release.sh" "$work/unused"
[ ! -e "$work/unused" ] || fail "the refused release made its folder"

out=$work/"the release's \"folder\""
mkdir -p "$out"
touch "$out/kel-native-0.0.1-win64.zip" "$out/SHA256SUMS" "$out/BUILDINFO"
if ! KEL_ALLOW_DIRTY=1 scripts/release.sh "$out"; then
  echo "release test: FAILED: the release did not go through"
  exit 1
fi
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/windows/CMakeCache.txt)
if cmake/check-release.sh "$out" "$version" >"$work/check.log" 2>&1; then
  echo "passed: $out holds exactly the new release, and its checks pass there"
else
  fail "the published release: $(cat "$work/check.log")"
fi
commit=$(git rev-parse HEAD)
grep -qx "commit $commit" "$out/BUILDINFO" || fail "BUILDINFO does not name commit $commit"
changes=no recorded=no
[ -z "$(git status --porcelain)" ] || changes=yes
! grep -q '^uncommitted changes' "$out/BUILDINFO" || recorded=yes
[ $changes = $recorded ] || fail "BUILDINFO says uncommitted changes: $recorded; git status: $changes"

if [ ${#failures[@]} -gt 0 ]; then
  echo "release test: FAILED: ${#failures[@]} checks (above)"
  exit 1
fi
echo "release test: passed"
