#!/usr/bin/env bash
# Installs what the build, tests, demo and release need on a Debian 12 or 13
# machine, as root. First everything the 64-bit road needs, which must
# install; then the 32-bit Wine, which may not: where it cannot be installed
# (no i386 packages on the mirror, a policy against foreign architectures),
# setup says why in one line and succeeds, and the 32-bit tree's Wine tests
# are reported skipped with that reason (cmake/KelWineProbe.cmake reads it
# from build/wine32-missing.txt). Fast and silent when everything is there.
set -euo pipefail

# Names that both releases have (metapackages where the version differs).
packages=(cmake make g++ clang libclang-rt-dev googletest default-jdk-headless locales e2fsprogs
          g++-mingw-w64-i686-posix binutils-mingw-w64-i686
          g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64
          zip osslsigncode openssl ca-certificates nodejs git)
# npm installs the release's bill-of-materials validator: Debian's package,
# unless the installed nodejs brings its own (and then conflicts with it).
command -v npm >/dev/null || packages+=(npm)
wine32=wine32:i386
wine32_missing=$(cd "$(dirname "$0")/.." && pwd)/build/wine32-missing.txt

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}
missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done
if installed "$wine32"; then
  rm -f "$wine32_missing"
  [ ${#missing[@]} -eq 0 ] && exit 0
fi

# Without the 32-bit Wine the 32-bit deliverables are still built and checked.
# Said when found out; a later run that finds the same says nothing, so that
# the scripts calling setup keep their own one-line messages.
without_wine32() {
  if [ "$(cat "$wine32_missing" 2>/dev/null)" != "32-bit Wine could not be installed: $1" ]; then
    echo "setup: 32-bit Wine could not be installed ($1): 32-bit Windows programs will not be run here;" \
         "the 32-bit deliverables are still built and checked" >&2
    mkdir -p "$(dirname "$wine32_missing")"
    echo "32-bit Wine could not be installed: $1" >"$wine32_missing"
  fi
  exit 0
}

if [ "$(id -u)" -ne 0 ]; then
  if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: missing packages (${missing[*]}); run this script as root" >&2
    exit 1
  fi
  without_wine32 "setup was not run as root"
fi

export DEBIAN_FRONTEND=noninteractive
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# apt's reason for a failed step: the error it stopped on, not a warning before it.
reason() {
  grep -m1 '^E: ' "$log" | sed 's/^E: //' | grep . || grep -v '^\s*$' "$log" | tail -n 1
}
install() {
  apt-get update -qq >"$log" 2>&1 && apt-get install -y -qq --no-install-recommends "$@" >>"$log" 2>&1
}

if [ ${#missing[@]} -gt 0 ] && ! install "${missing[@]}"; then
  echo "setup: cannot install ${missing[*]}: $(reason)" >&2
  exit 1
fi
installed "$wine32" && exit 0

added=no
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386 >"$log" 2>&1 || without_wine32 "$(reason)"
  added=yes
fi
if install "$wine32"; then
  rm -f "$wine32_missing"
  exit 0
fi
why=$(reason)
# Leave no foreign architecture behind that nothing uses.
[ $added = no ] || dpkg --remove-architecture i386 2>/dev/null || true
without_wine32 "$why"
