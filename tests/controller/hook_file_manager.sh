#!/usr/bin/env bash
# PCManFM, which knows no previewer bus: Space on a selected file previews it through the
# keyboard hook and the accessibility bus, moving the selection switches the preview, Space
# again closes it (one toggle per key press), Esc in the preview closes it too. PCManFM opens
# the file on Space as well: here with a program that does nothing and shows no window. A Space
# typed into its location bar is text: no preview opens, and the bar keeps every key.
set -euo pipefail
source "$(dirname "$0")/../lib.sh"
# A session bus of our own, so that the accessibility bus starts afresh for this test.
own_bus "$@"
unset NO_AT_BRIDGE
export GTK_MODULES=gail:atk-bridge # as an X session sets it: GTK 2 programs load the bridge as a module
dir="$tmp/files/Vuel ü files"
mkdir -p "$dir"
for f in "alpha one.txt" "beta ü.txt" "gamma.txt"; do echo "$f" > "$dir/$f"; done

start_instance
source "$(dirname "$0")/../tools/filemanager.sh"
pcmanfm_open "$dir"
pcmanfm_select "$dir/alpha one.txt" ctrl+4 # the detailed list view

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
wait_for 20 loads_logged 3 || fail "expected three previews, got: $(grep 'loading cost' "$tmp/vuel.log")"

typed_into_field() { grep -q 'lookup: the focus is in a text field' "$tmp/vuel.log"; }
keys ctrl+l; sleep 0.5
text="$tmp/x y"
xdotool type --delay 80 "$text"
# A busy file manager may leave a lookup unanswered: another Space is asked about again.
for _ in 1 2 3; do
  wait_for 15 typed_into_field && break
  xdotool type --delay 80 " z"; text="$text z"
done
typed_into_field || fail "the Space in the location bar was not seen as typing"
sleep 1 # no preview may open: a short look
hidden "beta ü.txt" || fail "a Space typed into the location bar previewed the selected file"
# Every key reached the field.
location() { /usr/bin/python3 "$VUEL_SOURCE/tests/tools/atspi-find" pcmanfm --focused-text; }
[ "$(location)" = "$text" ] || fail "the location bar holds '$(location)', not '$text'"
import -window root "$shots/hook_file_manager_typing.png"
loads_logged 3 || fail "something more was previewed: $(grep 'loading cost' "$tmp/vuel.log")"
echo PASS
