#!/usr/bin/env bash
# Makes a workspace whose directory and stale lock file nothing can change
# (immutable when run as root, since root ignores permission bits), and checks
# that kelpass calls it not locked and leaves it as it was.
# Usage: probe_readonly_workspace.sh WORK_DIR COMMAND... (COMMAND runs the launchers' process test program)
set -euo pipefail
work=$1
shift
workspace=$work/readonly-workspace

release() {
  [ -d "$workspace" ] || return 0
  chattr -i "$workspace/.metadata/.lock" "$workspace/.metadata" "$workspace" 2>/dev/null || true
  chmod -R u+w "$workspace"
  rm -rf "$workspace"
}
trap release EXIT
release
mkdir -p "$workspace/.metadata"
echo stale >"$workspace/.metadata/.lock"
chmod 444 "$workspace/.metadata/.lock"
chmod 555 "$workspace/.metadata" "$workspace"
if [ "$(id -u)" -eq 0 ]; then
  chattr +i "$workspace/.metadata/.lock" "$workspace/.metadata" "$workspace"
fi
if touch "$workspace/probe" 2>/dev/null; then
  echo "cannot make a read-only directory here"
  exit 1
fi

output=$(KEL_READONLY_WORKSPACE="Z:${workspace//\//\\}" "$@" \
  --gtest_also_run_disabled_tests --gtest_filter='LauncherProcess.DISABLED_ReadOnlyWorkspaceIsNotLocked' 2>&1) || {
  echo "$output"
  exit 1
}
echo "$output"
grep -q '^\[       OK \] LauncherProcess.DISABLED_ReadOnlyWorkspaceIsNotLocked' <<<"$output"
