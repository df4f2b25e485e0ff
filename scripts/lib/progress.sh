# Sourced by the scripts whose steps run long with their output in a log:
# while such a step runs, a line on standard error every 20 s says how far it
# is, so that a working step is never taken for a hung one.

# with_progress DESCRIBE CMD...: runs CMD (a command or a function) and
# returns its status; while it runs, prints every 20 s what the shell words
# DESCRIBE print (e.g. 'echo "windows tree: $(build_state "$log")"'),
# followed by the time so far.
with_progress() {
  local describe=$1 started=$SECONDS pid status=0 i
  shift
  "$@" &
  pid=$!
  while :; do
    for ((i = 0; i < 20; i++)); do
      kill -0 "$pid" 2>/dev/null || break 2
      sleep 1
    done
    echo "$(eval "$describe"), $((SECONDS - started)) s so far" >&2
  done
  wait "$pid" || status=$?
  return "$status"
}

# build_state LOG: how far the make build writing LOG is.
build_state() {
  local percent
  percent=$(grep -o '^\[ *[0-9]*%\]' "$1" 2>/dev/null | tail -n 1 | tr -dc '0-9')
  if [ -n "$percent" ]; then echo "$percent% built"; else echo "configuring"; fi
}
