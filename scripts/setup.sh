#!/usr/bin/env bash
# Installs what the build and tests need on a Debian machine, as root.
# Fast and silent when everything is already there.
set -euo pipefail

packages=(cmake make g++ clang libclang-rt-14-dev googletest openjdk-17-jdk-headless locales
          g++-mingw-w64-i686-posix binutils-mingw-w64-i686
          g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine32:i386 wine64
          zip osslsigncode openssl ca-certificates nodejs)
# npm installs the release's bill-of-materials validator: Debian's package,
# unless the installed nodejs brings its own (and then conflicts with it).
command -v npm >/dev/null || packages+=(npm)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "setup: missing packages (${missing[*]}); run this script as root" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! { dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386; } >"$log" 2>&1 ||
   ! apt-get update -qq >>"$log" 2>&1 ||
   ! apt-get install -y -qq --no-install-recommends "${missing[@]}" >>"$log" 2>&1; then
  echo "setup: cannot install ${missing[*]}: $(grep -m1 -E '^(E|W): ' "$log" || tail -n 1 "$log")" >&2
  exit 1
fi
