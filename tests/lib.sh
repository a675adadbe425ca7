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
  pkill -9 -f "^$tmp/" 2>/dev/null || true # a copy of the program that the bus started from here
  [ -n "${VUEL_OWN_BUS:-}" ] || rm -rf "$tmp" 2>/dev/null || true
}
trap cleanup EXIT

# own_bus ARGS: runs the calling script again on a session bus of its own, started with the
# folders above, so that what the bus starts reads them too; first on the private desktop of
# scripts/with-display when it has none.
own_bus() {
  [ -n "${DISPLAY:-}" ] || { rm -rf "$tmp"; exec "$VUEL_SOURCE/scripts/with-display" "$0" "$@"; }
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
shots="$VUEL_BUILD/test-shots"; mkdir -p "$shots" # screenshots for a person to look at
# previewer METHOD ARGS...: a call of the previewer bus interface, as GNOME Files makes it
previewer() { gdbus call --session --dest org.gnome.NautilusPreviewer --object-path /org/gnome/NautilusPreviewer \
  --method "org.gnome.NautilusPreviewer2.$1" "${@:2}"; }
owned() { gdbus call --session --dest org.freedesktop.DBus --object-path / \
  --method org.freedesktop.DBus.NameHasOwner org.gnome.NautilusPreviewer | grep -q true; }
source "$(dirname "${BASH_SOURCE[0]}")/tools/windows.sh"
# loads NAME: how many loads of the file NAME the viewer has logged ("loading cost … "…/NAME" …")
loads() { awk -v f="/$1\" " '/loading cost/ && index($0, f) { n++ } END { print n + 0 }' "$tmp/vuel.log" 2>/dev/null || echo 0; }
more_loads() { [ "$(loads "$1")" -gt "$2" ]; }
loads_logged() { [ "$(grep -c 'loading cost' "$tmp/vuel.log")" = "$1" ]; } # loads_logged N: N loads of any file
# preview_with PROGRAM PATH [SECONDS]: PROGRAM previews PATH; back once its window ($win) is
# shown and the viewer has logged one more load of it (a failed one ends on the information
# panel, which logs its own). A busy machine takes its time: 30 s unless said.
preview_with() {
  local name n; name=$(basename "$2"); n=$(loads "$name")
  "$1" "$2" || true
  wait_for "${3:-30}" shown "$name" || fail "$name not shown"
  wait_for "${3:-30}" more_loads "$name" "$n" || fail "$name: no load was logged"
  # shellcheck disable=SC2034 # read by the calling script
  win=$(shown "$name")
}
# preview NAME [SECONDS]: the program previews $tmp/files/NAME, as preview_with
preview() { preview_with "$VUEL_BUILD/vuel" "$tmp/files/$1" "${2:-}"; }
# esc_closes NAME: Esc in its window closes it
# (the activation may fail on a busy desktop while the preview has the focus anyway: not fatal)
esc_closes() {
  local w; w=$(shown "$1") || fail "$1 is not shown"
  xdotool windowactivate --sync "$w" >/dev/null 2>&1 || true
  xdotool key Escape; wait_for 20 hidden "$1" || fail "$1 stayed"
}
geometry() { eval "$(xdotool getwindowgeometry --shell "$1")"; } # X, Y, WIDTH and HEIGHT of window $1
# pixel SHOT X Y: "r,g,b" there, each 0 to 255
pixel() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:; }
# still FILE CAPTURE...: runs CAPTURE... FILE until two captures in a row agree: nothing is drawn
# any more (a spinner or an animation never agrees). A text cursor's blink (a few dozen pixels) is
# no change: a focused field would otherwise keep a dialog from ever agreeing. Gives up after 30 s.
still() {
  local file=$1 end=$((SECONDS + 30)); shift
  "$@" "$file"
  until sleep 0.5; cp "$file" "$tmp/still.png"; "$@" "$file" &&
    awk -v n="$(compare -metric AE "$file" "$tmp/still.png" null: 2>&1)" 'BEGIN { exit !(n ~ /^[0-9.e+]+$/ && n + 0 <= 64) }'; do
    [ $SECONDS -lt $end ] || return 1
  done
}
differ() { [ "$(compare -metric AE "$1" "$2" null: 2>&1 || true)" != 0 ]; } # differ PICTURE PICTURE
# changed BEFORE AFTER CAPTURE...: the capture into AFTER, once it stops changing, differs from BEFORE
changed() { local before=$1 after=$2; shift 2; still "$after" "$@" && differ "$before" "$after"; }
# placed WINDOW: it keeps its size and place for a moment (a preview is fitted and centred after
# its load is logged)
placed() { local before; before=$(xdotool getwindowgeometry "$1") && sleep 0.3 && [ "$(xdotool getwindowgeometry "$1")" = "$before" ]; }
# start_instance [ARGS]: the running instance, logging into $tmp/vuel.log
start_instance() {
  (cd "$tmp" && exec "$VUEL_BUILD/vuel" log "$@") & pids+=($!)
  # the log, not the socket file: a dead instance may have left its socket behind
  wait_for 30 grep -q 'tray: started' "$tmp/vuel.log" || fail "no running instance"
}
