#!/usr/bin/env bash
# Configures and builds one preset's tree quietly. On failure it prints one
# line with the first error and where the whole log is, and fails.
# Usage: scripts/build-tree.sh PRESET [TARGET...]
set -uo pipefail
cd "$(dirname "$0")/.."
preset=$1
shift
mkdir -p build/logs
log=build/logs/$preset-build.log
targets=()
[ $# -gt 0 ] && targets=(--target "$@")
if ! { cmake --preset "$preset" && cmake --build --preset "$preset" "${targets[@]}"; } >"$log" 2>&1; then
  cause=$(grep -m1 -E '(^|[^a-z])(error|Error|ERROR)[: ]' "$log" || tail -n 1 "$log")
  echo "cannot build the $preset tree: $cause (whole log: $log)" >&2
  exit 1
fi
