#!/usr/bin/env bash
# Builds the two release archives, kel-native-VERSION-win32.zip and
# kel-native-VERSION-win64.zip, with SHA256SUMS beside them in build/release/,
# and checks what they hold.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
rm -rf build/release
for preset in windows windows-x64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" >/dev/null
  cpack --preset "$preset" >/dev/null
done
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/windows/CMakeCache.txt)
cd build/release
rm -rf _CPack_Packages
sha256sum -- *.zip >SHA256SUMS
../../cmake/check-release.sh . "$version"
