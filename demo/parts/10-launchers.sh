#!/usr/bin/env bash
# kelpass and keltool at work against a sample install directory whose Java
# runtime is a stand-in that prints the command line it received and exits
# with the code in KEL_STANDIN_EXIT. Needs KEL_BUILD, WINEPREFIX and KEL_WINE (the loader).
set -euo pipefail
bin=$KEL_BUILD/bin
programs=$KEL_BUILD/launchers/tests
lock_holder=$KEL_BUILD/demo/hold_workspace_lock.exe
for program in "$bin/kelpass.exe" "$bin/keltool.exe" "$programs/java.exe" \
               "$programs/report_exit_code.exe" "$lock_holder"; do
  if [ ! -f "$program" ]; then
    echo "launchers demo: $program is missing; build the windows preset first" >&2
    exit 1
  fi
done

# A long directory name with a space, so KELHOME has a short form that differs.
work=$KEL_BUILD/launchers/demo
install="$work/KEL Toolkit Sample Install"
workspace="$work/My Workspace"
rm -rf "$work"
mkdir -p "$install/eclipse/jre/bin" "$install/eclipse/workspace" "$workspace"
cp "$programs/java.exe" "$install/eclipse/jre/bin/java.exe"
cp "$bin/keltool.exe" "$install/keltool.exe"

windows() { "$KEL_WINE" winepath -w "$1" 2>/dev/null; }
export KELHOME
KELHOME=$(windows "$install")
ws=$(windows "$workspace")
kelpass=$(windows "$bin/kelpass.exe")
keltool=$(windows "$bin/keltool.exe")

# Prints the step and the command as a user would type it, runs it, and
# prints its full 32-bit exit code. Usage: step TITLE SHOWN PROGRAM ARGS...
step() {
  local title=$1 shown=$2
  shift 2
  echo
  echo "--- $title"
  echo "> $shown"
  "$KEL_WINE" "$programs/report_exit_code.exe" "$@"
}

echo "=== Launchers: kelpass and keltool"
echo "KELHOME=$KELHOME"

export KEL_STANDIN_EXIT=0
step "kelpass on a free workspace: starts the headless password application" \
  "kelpass -e \"$ws\" -u admin -p \"a&b|c\"" "$kelpass" -e "$ws" -u admin -p "a&b|c"

# A stand-in for a running IDE holds the workspace's lock file until released.
echo
echo "--- a running IDE opens the workspace"
release="$work/release-lock"
"$KEL_WINE" "$lock_holder" "$ws" "$(windows "$work")\\release-lock" &
holder=$!
for _ in $(seq 100); do
  [ -f "$workspace/.metadata/.lock" ] && break
  sleep 0.1
done
sleep 0.5

step "kelpass on a workspace held by a running IDE: hands over to keltool" \
  "kelpass -e \"$ws\" -u admin -p \"50%PATH%\"" "$kelpass" -e "$ws" -u admin -p "50%PATH%"

KEL_STANDIN_EXIT=-99
step "the same with the tool server down: the client ends with -99" \
  "kelpass -e \"$ws\" -u admin -p secret" "$kelpass" -e "$ws" -u admin -p secret

touch "$release"
wait "$holder" || true

KEL_STANDIN_EXIT=3
step "keltool with arguments: the client's exit code is passed on" \
  "keltool -s Status \"x|y\" \"two words\"" "$keltool" -s Status "x|y" "two words"

KEL_STANDIN_EXIT=0
step "a command line longer than cmd.exe accepts is refused, nothing starts" \
  "kelpass -e \"$ws\" -u xxx...(8,200 x)" "$kelpass" -e "$ws" -u "$(printf 'x%.0s' $(seq 8200))"

unset KELHOME
step "kelpass with KELHOME unset" "kelpass -u admin" "$kelpass" -u admin
step "keltool with KELHOME unset" "keltool -s Status" "$keltool" -s Status

rm -rf "$work"
