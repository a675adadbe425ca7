#!/usr/bin/env bash
# A desktop without a tray (stock GNOME Shell): notices go to the desktop's notifications,
# starting Vuel again opens Settings, a cold `vuel FILE` previews FILE or, missing, exits 1, and
# --settings and --quit (the desktop entry's actions) reach the running instance. (A file handed
# to a running instance: single_instance; Quit past a planted link: temp_folder.sh.)
set -euo pipefail
if [ -z "${VUEL_NO_TRAY:-}" ]; then VUEL_NO_TRAY=1 VUEL_IN_SESSION= exec "$VUEL_SOURCE/scripts/with-display" "$0" "$@"; fi
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../tools/atspi.sh"
atspi_session "$@"
win=Settings
printf 'a\n' > "$tmp/files/a.txt"
vuel() { (cd "$tmp" && "$VUEL_BUILD/vuel" "$@"); }
notified() { grep -qF "$1" "$tmp/notices.log"; }
# stopped PID: ended (a zombie not yet reaped has ended too)
stopped() { local s; s=$(ps -o stat= -p "$1" 2>/dev/null) || return 0; [ "${s:0:1}" = Z ]; }

/usr/bin/python3 "$VUEL_SOURCE/tests/tools/fake-notifications" "$tmp/notices.log" & pids+=($!)
wait_for 30 notified ready || fail "the notification service did not start"
atspi_start_bus

# A cold start with a file: the instance starts and previews it; its notices reach the desktop.
(cd "$tmp" && exec "$VUEL_BUILD/vuel" "$tmp/files/a.txt") & instance=$!; pids+=($instance)
wait_for 30 shown a.txt || fail "a cold 'vuel FILE' did not preview it"
wait_for 30 notified "Application started." || fail "the start notice did not reach the notifications"

# Started again from the application menu: Settings, since no tray offers them.
vuel || fail "a second start failed"
wait_for 30 shown Settings || fail "a second start without a tray did not open Settings"
settings_shot() { local w; w=$(shown Settings) && still "$shots/no_tray_settings.png" on_screen "$w"; }
wait_for 60 settings_shot || fail "Settings keeps changing"
atspi_click "Cancel" "push button" || fail "no Cancel"
wait_for 20 hidden Settings || fail "Cancel did not close Settings"
vuel --settings || fail "--settings failed"
wait_for 30 shown Settings || fail "--settings did not open Settings"
vuel --quit || fail "--quit failed"
wait_for 30 stopped $instance || fail "--quit did not end the instance"

# Cold starts: --settings starts the instance with Settings open; a missing file starts nothing.
(cd "$tmp" && exec "$VUEL_BUILD/vuel" --settings) & instance=$!; pids+=($instance)
wait_for 30 shown Settings || fail "a cold --settings did not open Settings"
vuel --quit
wait_for 30 stopped $instance || fail "--quit did not end the instance"
rc=0; vuel "$tmp/files/missing.txt" 2>/dev/null || rc=$?
[ $rc = 1 ] || fail "a cold 'vuel MISSING' exited $rc"
echo PASS
