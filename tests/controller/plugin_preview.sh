#!/usr/bin/env bash
# A plug-in's preview stays while the file manager keeps the same file selected (the output
# file is not mistaken for a new selection), and its title is the file's own name.
set -euo pipefail
source "$(dirname "$0")/../lib.sh"
own_bus "$@"
mkdir -p "$tmp/bin"
# The plug-in table lives beside the program: a copy of it, with a table of its own.
cp "$VUEL_BUILD/vuel" "$tmp/bin/vuel"
printf '#!/bin/sh\ntr a-z A-Z < "$1" > "$2.txt"\n' > "$tmp/upper.sh"
printf '[["Upper", "up", "sh %s"]]\n' "$tmp/upper.sh" > "$tmp/bin/plugins.settings"
printf 'made upper case by a plug-in\n' > "$tmp/files/notes.up"
(cd "$tmp" && exec "$tmp/bin/vuel" log) & pids+=($!)
wait_for 30 grep -q 'tray: started' "$tmp/vuel.log" || fail "no running instance"

# The file manager: a window whose selection the previewer bus reports.
xmessage -name fm -title fm "a file manager" & pids+=($!)
wait_for 20 shown fm || fail "no file manager window"
fm=$(shown fm)
xdotool windowactivate --sync "$fm"
previewer ShowFile "file://$tmp/files/notes.up" "x11:$(printf %x "$fm")" true >/dev/null
output_shown() { grep -q 'loading cost .*/Vuel/.*\.txt"' "$tmp/vuel.log"; }
wait_for 30 output_shown || fail "the plug-in's output was not shown"
wait_for 20 shown notes.up || fail "the preview is not titled notes.up: $(xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null | tr '\n' ' ')"
xdotool windowactivate --sync "$fm"
sleep 2 # four checks of the selection: the preview must stay, a short look
shown notes.up >/dev/null || fail "the plug-in's preview closed itself"
still "$shots/plugin_preview.png" on_screen "$(shown notes.up)" || fail "the preview keeps changing"
echo PASS
