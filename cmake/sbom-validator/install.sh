#!/usr/bin/env bash
# Installs the bill-of-materials validator (the CycloneDX library at the
# versions pinned in package-lock.json beside this file) into DIR, once:
# nothing happens while DIR holds that lock's install. With --installed it
# only answers whether DIR holds it (exit 0) or not (1). On failure, one line
# on standard error says why.
# Usage: install.sh [--installed] DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
check_only=no
if [ "$1" = --installed ]; then check_only=yes; shift; fi
dir=$1
if cmp -s "$here/package-lock.json" "$dir/package-lock.json" && [ -d "$dir/node_modules/@cyclonedx/cyclonedx-library" ]; then
  exit 0
fi
[ $check_only = no ] || exit 1
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
