#!/usr/bin/env bash
# Installs what is missing, builds the 32-bit and the 64-bit deliverables and
# shows each at work under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
for preset in windows windows-x64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" >/dev/null
done
exec demo/run.sh build/windows build/windows-x64
