# Shared by the window tests: a private home for the program, polling, and clean-up.
# Source it after `set -euo pipefail`; VUEL_BUILD is set by ctest.
tmp=$(mktemp -d)
pids=()
export XDG_CONFIG_HOME="$tmp/config" XDG_DATA_HOME="$tmp/data" XDG_CACHE_HOME="$tmp/cache"
export XDG_RUNTIME_DIR="$tmp/run"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
mkdir -p "$XDG_CONFIG_HOME/Keplo" "$XDG_DATA_HOME" "$tmp/files"
printf '[General]\nshow_welcome=false\n' > "$XDG_CONFIG_HOME/Keplo/Vuel.conf"
trap 'kill "${pids[@]}" 2>/dev/null || true; rm -rf "$tmp"' EXIT

fail() { echo "FAIL: $*"; tail -20 "$tmp/vuel.log" 2>/dev/null || true; exit 1; }
# wait_for SECONDS COMMAND...: polls until COMMAND succeeds
wait_for() { local end=$((SECONDS + $1)); shift; until "$@" >/dev/null 2>&1; do [ $SECONDS -lt $end ] || return 1; sleep 0.1; done; }
shown() { xdotool search --onlyvisible --name "^$1\$" | head -1 | grep .; }
hidden() { ! xdotool search --onlyvisible --name "^$1\$" >/dev/null; }
# start_instance [ARGS]: the running instance, logging into $tmp/vuel.log
start_instance() {
  (cd "$tmp" && exec "$VUEL_BUILD/vuel" log "$@") & pids+=($!)
  # the log, not the socket file: a dead instance may have left its socket behind
  wait_for 10 grep -q 'Application started' "$tmp/vuel.log" || fail "no running instance"
}
