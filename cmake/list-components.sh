#!/usr/bin/env bash
# Prints what went into a build, one line each, tab-separated: name, Debian
# package, its installed version and architecture, SPDX licence, and role
# (runtime: linked into the binaries; toolchain: built them). Each
# COMPONENT is NAME|FILE|LICENCE, FILE a path or a library the compiler
# finds (-print-file-name); the package is the one that installed it.
# Usage: list-components.sh COMPILER runtime|toolchain COMPONENT... [runtime|toolchain COMPONENT...]
set -euo pipefail
compiler=$1
shift
role=
for component in "$@"; do
  case $component in
    runtime|toolchain) role=$component; continue ;;
  esac
  IFS='|' read -r name file licence <<<"$component"
  [[ $file = /* ]] || file=$("$compiler" -print-file-name="$file")
  path=$(realpath -e "$file" 2>/dev/null) || { echo "list-components: $name: no $file" >&2; exit 1; }
  package=$(dpkg-query -S "$path" 2>/dev/null | grep -v '^diversion' | sed -n '1s/[:,].*//p')
  [ -n "$package" ] || { echo "list-components: $name: no Debian package installed $path" >&2; exit 1; }
  version=$(dpkg-query -W -f='${Version}\t${Architecture}' "$package")
  printf '%s\t%s\t%s\t%s\t%s\n' "$name" "$package" "$version" "$licence" "$role"
done
