#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: the platform-free
# logic natively under the sanitizers, a short libFuzzer run over it, the
# 32-bit and the 64-bit Windows deliverables under Wine, and a check of the
# release archives made from them.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --workflow --preset host
cmake --workflow --preset fuzz
cmake --workflow --preset windows
cmake --workflow --preset windows-x64
scripts/release.sh
tests/signing/signed_release.sh
