# Sourced by wine-run.sh and the demo: the environment every Wine program of
# a build runs in. Usage: source wine-env.sh PREFIX
# - No debug channels, so Wine's fixme lines stay off the screen.
# - A runtime folder beside the prefix where the session has none (a root
#   shell, CI): Wine's display probe would otherwise print
#   "XDG_RUNTIME_DIR is invalid or not set" for every session it starts.
export WINEPREFIX=$1
export WINEDEBUG=${WINEDEBUG:--all}
case ${XDG_RUNTIME_DIR:-} in
  /*) ;;
  *)
    XDG_RUNTIME_DIR=$(dirname "$WINEPREFIX")/xdg-runtime
    mkdir -p -m 700 "$XDG_RUNTIME_DIR"
    export XDG_RUNTIME_DIR
    ;;
esac
