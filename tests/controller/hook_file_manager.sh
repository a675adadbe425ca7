#!/usr/bin/env bash
# PCManFM, which knows no previewer bus: Space on a selected file previews it through the
# keyboard hook and the accessibility bus, moving the selection switches the preview, Space
# again closes it (one toggle per key press), Esc in the preview closes it too. PCManFM opens
# the file on Space as well: here with a program that does nothing and shows no window.
set -euo pipefail
if [ -z "${DISPLAY:-}" ]; then exec "$VUEL_SOURCE/scripts/with-display" "$0" "$@"; fi
source "$(dirname "$0")/../lib.sh"
# A session bus of our own, so that the accessibility bus starts afresh for this test.
own_bus "$@"
command -v pcmanfm >/dev/null || fail "pcmanfm is not installed (scripts/install-deps)"
unset NO_AT_BRIDGE
export GTK_MODULES=gail:atk-bridge # as an X session sets it: GTK 2 programs load the bridge as a module
dir="$tmp/files/Vuel ü files"
mkdir -p "$dir" "$VUEL_BUILD/test-shots"
for f in "alpha one.txt" "beta ü.txt" "gamma.txt"; do echo "$f" > "$dir/$f"; done

mkdir -p "$XDG_DATA_HOME/applications"
printf '[Desktop Entry]\nType=Application\nName=Nothing\nExec=true %%f\nMimeType=text/plain;\n' \
  > "$XDG_DATA_HOME/applications/vuel-test-nothing.desktop"
printf '[Default Applications]\ntext/plain=vuel-test-nothing.desktop\n' > "$XDG_CONFIG_HOME/mimeapps.list"

start_instance
pcmanfm "$dir" >"$tmp/pcmanfm.log" 2>&1 & pids+=($!)
fm_pid=$!
fm=""
fm_window() { fm=$(xdotool search --onlyvisible --pid "$fm_pid" 2>/dev/null | tail -1) && [ -n "$fm" ]; }
wait_for 30 fm_window || fail "PCManFM shows no window"
# keys KEYS...: real key strokes (XTEST) into the file manager, focused
keys() { xdotool windowactivate --sync "$fm" >/dev/null 2>&1 || true; xdotool key --clearmodifiers "$@"; }
focused() { [ "$(echo "$fm" | "$VUEL_BUILD/accessible_probe" 2>/dev/null)" = "$dir/$1" ]; }
# PCManFM fills its view in its own time: the detailed list view and the file, again until it
# is focused. The pauses pace the keys: a key that comes before the search box is up stays out
# of it, and an Escape too early leaves the box open to swallow the Space.
for _ in 1 2 3 4 5; do
  keys ctrl+4; sleep 1.5
  keys Home; sleep 0.3
  xdotool type --delay 80 "alp"; sleep 0.6
  keys Escape; sleep 0.5 # ends the type-ahead search, the file stays selected
  wait_for 10 focused "alpha one.txt" && break
done
focused "alpha one.txt" || fail "PCManFM did not select alpha one.txt"

keys space
wait_for 20 shown "alpha one.txt" || { import -window root "$VUEL_BUILD/test-shots/hook_file_manager_fail.png"; fail "Space did not preview alpha one.txt"; }
# While the preview is shown and the file manager is in front, the preview follows the selection.
keys Down
wait_for 20 shown "beta ü.txt" || { import -window root "$VUEL_BUILD/test-shots/hook_file_manager_fail.png"; fail "the preview did not follow the selection"; }
import -window root "$VUEL_BUILD/test-shots/hook_file_manager.png"
keys space
wait_for 20 hidden "beta ü.txt" || fail "Space again did not close the preview"
sleep 1 # it must stay closed: a short look
hidden "beta ü.txt" || fail "the same key press toggled twice"

keys space
wait_for 20 shown "beta ü.txt" || fail "Space did not preview beta ü.txt again"
preview=$(shown "beta ü.txt") || fail "the preview of beta ü.txt closed by itself: $(grep -E 'loading cost|command' "$tmp/vuel.log" | tail -5)"
xdotool windowactivate --sync "$preview" >/dev/null 2>&1 || true
xdotool key --clearmodifiers Escape
wait_for 20 hidden "beta ü.txt" || fail "Esc in the preview did not close it"
# The log line of a preview may come a moment after its window.
three_previews() { [ "$(grep -c 'loading cost' "$tmp/vuel.log")" = 3 ]; }
wait_for 20 three_previews || fail "expected three previews, got: $(grep 'loading cost' "$tmp/vuel.log")"
echo PASS
