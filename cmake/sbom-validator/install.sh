#!/usr/bin/env bash
# Installs the bill-of-materials validator (the CycloneDX library at the
# versions pinned in package-lock.json beside this file) into DIR, once:
# nothing happens while DIR holds that lock's install.
# Usage: install.sh DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dir=$1
if cmp -s "$here/package-lock.json" "$dir/package-lock.json" && [ -d "$dir/node_modules/@cyclonedx/cyclonedx-library" ]; then
  exit 0
fi
rm -rf "$dir"
mkdir -p "$dir"
cp "$here/package.json" "$here/package-lock.json" "$dir/"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! (cd "$dir" && npm ci --omit=optional --ignore-scripts --no-audit --no-fund) >"$log" 2>&1; then
  rm -rf "$dir"
  echo "cannot install the bill-of-materials validator: $(grep -m1 -i 'err' "$log" || tail -n 1 "$log")" >&2
  exit 1
fi
