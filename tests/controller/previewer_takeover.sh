#!/usr/bin/env bash
# Space in GNOME Files goes to Vuel, and back to the system's previewer: Vuel waits for the
# name while another previewer holds it (one Vuel, never a second that exits), the General
# setting gives it back at once, and once the program is deleted the activation file it left
# hands Space to the system's previewer.
set -euo pipefail
source "$(dirname "$0")/../lib.sh"
# The system's previewer, as a package would install it (read when the bus starts).
export XDG_DATA_DIRS="$tmp/system:${XDG_DATA_DIRS:-/usr/local/share:/usr/share}"
mkdir -p "$tmp/system/dbus-1/services"
printf '[D-BUS Service]\nName=org.gnome.NautilusPreviewer\nExec=%s %s\n' \
  "$VUEL_SOURCE/tests/tools/fake-previewer" "$tmp/system.log" \
  > "$tmp/system/dbus-1/services/org.gnome.NautilusPreviewer.service"
source "$(dirname "$0")/../tools/atspi.sh"
atspi_session "$@"
win=Settings
mkdir -p "$tmp/bin"
printf 'a\n' > "$tmp/files/a.txt"
activation="$XDG_DATA_HOME/dbus-1/services/org.gnome.NautilusPreviewer.service"
not_owned() { ! owned; }
show_a() { previewer ShowFile "file://$tmp/files/a.txt" "" true --timeout 30 >/dev/null 2>&1 || true; }
logged() { grep -qF "$1" "$tmp/vuel.log"; }
# A copy of the program, so that the test can delete it as a package removal would.
cp "$VUEL_BUILD/vuel" "$tmp/bin/vuel"

# Another previewer holds the name: Vuel waits for it instead of failing.
/usr/bin/python3 "$VUEL_SOURCE/tests/tools/fake-previewer" "$tmp/other.log" & other=$!; pids+=($other)
wait_for 30 grep -q owns "$tmp/other.log" || fail "the other previewer did not take the name"
atspi_start_bus
(cd "$tmp" && exec "$tmp/bin/vuel" log) & pids+=($!)
wait_for 30 logged "previewer: waiting for" || fail "Vuel did not queue for the name"
[ -f "$activation" ] || fail "no activation file"
kill "$other"
wait_for 30 logged "previewer: owns" || fail "Vuel did not take the name once it was free"
show_a
wait_for 30 shown a.txt || fail "ShowFile after the hand-over did not show a.txt"
[ "$(pgrep -c -f "^$tmp/bin/vuel")" = 1 ] || fail "more than one Vuel: $(pgrep -af "^$tmp/bin/vuel")"
previewer Close >/dev/null
wait_for 20 hidden a.txt || fail "Close did not hide"

# The setting gives Space back at once, activation file included, and takes it again.
toggle_takeover() {
  from_tray s Settings
  atspi_click "Preview with Space in GNOME Files" || { import -window root "$shots/takeover_fail.png"; fail "no takeover setting"; }
  [ "${1:-}" = shot ] && { still "$shots/settings_takeover.png" on_screen "$(shown Settings)" || true; }
  atspi_click "Ok" "push button" || fail "no Ok"
  wait_for 20 hidden Settings || fail "OK did not close the dialog"
}
toggle_takeover shot
wait_for 20 logged "previewer: released" || fail "turning the setting off kept the name"
wait_for 20 not_owned || fail "the name is still owned with the setting off"
[ ! -e "$activation" ] || fail "the activation file stayed with the setting off"
grep -qx "gnome_files_space=false" "$XDG_CONFIG_HOME/Keplo/Vuel.conf" || fail "the setting was not stored"
toggle_takeover
wait_for 20 owned || fail "turning the setting on did not take the name"
[ -f "$activation" ] || fail "no activation file with the setting on again"

# Removed: the file left behind hands Space to the system's previewer and goes.
kill "${pids[-1]}"; wait "${pids[-1]}" 2>/dev/null || true
wait_for 20 not_owned || fail "the name is still owned after quitting"
rm "$tmp/bin/vuel"
show_a
wait_for 30 grep -q owns "$tmp/system.log" || fail "Space did not reach the system's previewer: $(cat "$activation" 2>&1)"
[ ! -e "$activation" ] || fail "the stale activation file stayed"
echo PASS
