#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: the platform-free
# logic natively under the sanitizers, a short libFuzzer run over it, and the
# Windows deliverables under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --workflow --preset host
cmake --workflow --preset fuzz
cmake --workflow --preset windows
