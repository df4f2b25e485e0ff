#!/usr/bin/env bash
# Installs what is missing, builds the deliverables and shows each at work
# under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows >/dev/null
exec demo/run.sh build/windows
