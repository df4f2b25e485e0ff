#!/usr/bin/env bash
# Configures and builds one preset's tree, its output in build/logs/, saying
# that it started, how far it is every 20 s, and how long it took. On
# failure it prints one line with the first error and where the whole log
# is, and fails.
# Usage: scripts/build-tree.sh PRESET [TARGET...]
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/progress.sh
preset=$1
shift
mkdir -p build/logs
log=build/logs/$preset-build.log
targets=()
[ $# -gt 0 ] && targets=(--target "$@")
build() {
  { cmake --preset "$preset" && cmake --build --preset "$preset" "${targets[@]}"; } >"$log" 2>&1
}
started=$SECONDS
echo "build: the $preset tree (log: $log)"
if ! with_progress 'echo "build: the $preset tree, $(build_state "$log")"' build; then
  cause=$(grep -m1 -E '(^|[^a-z])(error|Error|ERROR)[: ]' "$log" || tail -n 1 "$log")
  echo "cannot build the $preset tree: $cause (whole log: $log)" >&2
  exit 1
fi
echo "build: the $preset tree built in $((SECONDS - started)) s"
