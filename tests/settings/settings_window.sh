#!/usr/bin/env bash
# The settings dialog and the about window, opened from the tray menu as a user does, driven
# with the mouse through what the accessibility bus says is on the screen. Every page is saved
# and read back by the next start; the about window's links reach the browser. (A running hook
# following the trigger keys in the settings file: hook_test.sh.)
set -euo pipefail
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../tools/atspi.sh"
atspi_session "$@"
export GTK_MODULES=gail:atk-bridge
trap 'echo "FAIL: line $LINENO: $BASH_COMMAND"' ERR
conf="$XDG_CONFIG_HOME/Keplo/Vuel.conf"
mkdir -p "$XDG_DATA_HOME/applications"

# The default browser only writes down what it was given.
printf '#!/bin/sh\necho "$1" >> %s/browser.log\n' "$tmp" > "$tmp/browser"
chmod +x "$tmp/browser"
printf '[Desktop Entry]\nType=Application\nName=Browser\nExec=%s/browser %%u\nMimeType=x-scheme-handler/http;x-scheme-handler/https;\n' "$tmp" \
  > "$XDG_DATA_HOME/applications/vuel-test-browser.desktop"
printf '[Default Applications]\nx-scheme-handler/https=vuel-test-browser.desktop\nx-scheme-handler/http=vuel-test-browser.desktop\n' \
  > "$XDG_CONFIG_HOME/mimeapps.list"

find_w() { atspi_find "$@"; }
field() { local r; r=$(find_w "${@:2}") || return 2; [ "$(cut -d' ' -f"$1" <<<"$r")" = 1 ]; }
checked() { field 3 "$@"; }
# The accessibility bus hears of a change a moment after the screen shows it.
see() { wait_for 20 find_w "$@"; }
# Only after its window was seen: what must not show gets a short look.
gone() { sleep 0.5; ! find_w "$@" >/dev/null; }
click() { atspi_click "$@" || { import -window root "$shots/settings_window_fail.png"; fail "no '$1' in $win"; }; }
point() { atspi_point "$@" || fail "no '$1' in $win"; }
stored() { grep -qx "$1=$2" "$conf"; }
shot() { still "$shots/$2.png" on_screen "$(shown "$1")" || fail "$1 keeps changing"; }

atspi_start_bus
start_instance

# --- the settings dialog, from the tray menu ---
from_tray s Settings
win=Settings
wait_for 20 find_w "General" "check box" || fail "the settings dialog is not on the accessibility bus"
shot Settings settings_general
wait_for 20 checked "General" "check box" || fail "the dialog did not open on the General page"
gone Plugins "check box" || fail "the Plugins button is visible"
# Nothing re-enters while it is open: the modal window keeps the tray icon from opening its menu
# (whose items are grey besides).
/usr/bin/python3 "$VUEL_SOURCE/tests/tools/atspi-menu" Vuel xdotool mousemove 1590 986 click 3 >/dev/null &&
  fail "the tray menu opened while Settings is open"

click "Start Vuel at log-in"
click "Display controls"
click "Repeat"
click "Keyboard" "check box"
see "Trigger Keys:  Space" || fail "no trigger title on the Keyboard page"
shot Settings settings_keyboard
click "Shift"
see "Trigger Keys:  Shift + Space" || fail "the trigger title did not follow the boxes"
click "Type" "check box"
see "Text" panel || fail "no Text group on the Type page"
shot Settings settings_filetype
# The office box is below the groups: scroll the page down to it, as a user does.
point "Text" panel; for _ in $(seq 15); do xdotool click 5; done
shot Settings settings_filetype_office
click "Support office documents (LibreOffice)"
click "Ok" "push button"
wait_for 20 hidden Settings || fail "OK did not close the dialog"

# The settings reach the file when Qt next syncs it, not necessarily before the dialog hides.
general_saved() { stored autorun true && stored display_controls true && stored media_repeat true; }
wait_for 20 general_saved || fail "General page not saved: $(cat "$conf")"
pages_saved() { stored key_shift true && stored key_ctrl false && stored key_alt false && stored office_support true; }
wait_for 20 pages_saved || fail "Keyboard/Type pages not saved: $(cat "$conf")"
entry="$XDG_CONFIG_HOME/autostart/Vuel.desktop"
wait_for 20 test -f "$entry" || fail "no autostart entry"
grep -qx "Exec=$VUEL_BUILD/vuel" "$entry" || fail "autostart Exec is wrong: $(grep Exec "$entry")"

# --- a further text suffix, classified at once ---
echo "plain words" > "$tmp/files/notes.abc"
from_tray s Settings
click "Type" "check box"
click "Add new file suffix"
wait_for 20 shown "Select your Text format file" || fail "no file dialog"
xdotool windowactivate --sync "$(shown "Select your Text format file")" >/dev/null 2>&1 || true
xdotool type --delay 20 "$tmp/files/notes.abc"; xdotool key Return
wait_for 20 hidden "Select your Text format file" || fail "the file dialog stayed"
shot Settings settings_filetype_added
click "Ok" "push button"
wait_for 20 hidden Settings || fail "OK did not close the dialog"
wait_for 20 grep -q '^text_support=abc' "$conf" || fail "text_support not saved: $(cat "$conf")"
"$VUEL_BUILD/vuel" "$tmp/files/notes.abc" || true
wait_for 20 shown notes.abc || fail "notes.abc not previewed"
wait_for 30 grep -q "loading cost.*notes.abc\" 6 " "$tmp/vuel.log" || fail "notes.abc is not in the text viewer: $(grep 'loading cost' "$tmp/vuel.log" | tail -2)"

# --- the about window ---
from_tray a About
win=About
see "Version $VUEL_VERSION" || fail "no version line"
shot About about_first
gone "Back" "push button" || fail "Back is visible on the first page"
click "Support Vuel"
see "Back" "push button" || fail "Back is missing on the support page"
shot About about_support
click "Back" "push button"
see "Version $VUEL_VERSION" || fail "Back did not return"
click "Qt"
wait_for 20 grep -q "qt.io" "$tmp/browser.log" || fail "the Qt logo did not open the browser"
esc_closes About

# --- the next start reads what this one wrote ---
kill "${pids[0]}"; wait "${pids[0]}" 2>/dev/null || true
rm -f "$tmp/vuel.log"
start_instance
from_tray s Settings
win=Settings
wait_for 20 checked "Start Vuel at log-in" || fail "autorun not read back after the restart"
wait_for 20 checked "Display controls" || fail "display_controls not read back after the restart"
click "Keyboard" "check box"
wait_for 20 checked "Shift" || { import -window root "$shots/settings_window_fail.png"; fail "key_shift not read back after the restart: $(find_w Shift) $(grep key_ "$conf")"; }
click "General" "check box"
click "Start Vuel at log-in"
click "Ok" "push button"
wait_for 20 hidden Settings || fail "OK did not close the dialog"
wait_for 20 test ! -e "$entry" || fail "unchecking autorun left the autostart entry"
echo PASS
