# Shared by the window tests: a private home for the program, polling, and clean-up.
# Source it after `set -euo pipefail`; VUEL_BUILD is set by ctest.
: "${VUEL_BUILD:?run by ctest, or set VUEL_BUILD}"
tmp=${VUEL_OWN_BUS:-$(mktemp -d)}
pids=()
export XDG_CONFIG_HOME="$tmp/config" XDG_DATA_HOME="$tmp/data" XDG_CACHE_HOME="$tmp/cache"
export XDG_RUNTIME_DIR="$tmp/run"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
mkdir -p "$XDG_CONFIG_HOME/Keplo" "$XDG_DATA_HOME" "$tmp/files"
[ -e "$XDG_CONFIG_HOME/Keplo/Vuel.conf" ] || printf '[General]\nshow_welcome=false\n' > "$XDG_CONFIG_HOME/Keplo/Vuel.conf"

# Everything started is killed and reaped before the folder goes: a live process writing into
# it would make the removal, and so the test, fail after it passed.
cleanup() {
  local p
  for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null || true; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null || true; done
  pkill -9 -f "^$VUEL_BUILD/vuel" 2>/dev/null || true
  [ -n "${VUEL_OWN_BUS:-}" ] || rm -rf "$tmp" 2>/dev/null || true
}
trap cleanup EXIT

# own_bus ARGS: runs the calling script again on a session bus of its own, started with the
# folders above, so that what the bus starts reads them too.
own_bus() {
  if [ -n "${VUEL_OWN_BUS:-}" ]; then
    # A new session starts its own accessibility bus; the display may still name the bus of a
    # session killed before (the launcher clears it only when it ends cleanly).
    [ -z "${DISPLAY:-}" ] || xprop -root -remove AT_SPI_BUS 2>/dev/null || true
    return 0
  fi
  local rc=0
  VUEL_OWN_BUS=$tmp dbus-run-session -- bash "$0" "$@" || rc=$?
  exit $rc
}

fail() { echo "FAIL: $*"; tail -20 "$tmp/vuel.log" 2>/dev/null || true; exit 1; }
source "$(dirname "${BASH_SOURCE[0]}")/tools/windows.sh"
# start_instance [ARGS]: the running instance, logging into $tmp/vuel.log
start_instance() {
  (cd "$tmp" && exec "$VUEL_BUILD/vuel" log "$@") & pids+=($!)
  # the log, not the socket file: a dead instance may have left its socket behind
  wait_for 10 grep -q 'tray: started' "$tmp/vuel.log" || fail "no running instance"
}
