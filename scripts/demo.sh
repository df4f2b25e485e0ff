#!/usr/bin/env bash
# Installs what is missing, builds the 32-bit and the 64-bit deliverables and
# shows each at work under Wine (where this machine cannot start 32-bit
# programs, the 64-bit ones, and one line on why not the others).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
for preset in windows windows-x64; do
  scripts/build-tree.sh "$preset"
done
exec demo/run.sh build/windows build/windows-x64
