#!/usr/bin/env bash
# The file manager's side of the previewer bus interface, played with gdbus: a new selection
# switches while shown, Close hides, Visible is announced, a plug-in's preview stays while its
# file stays selected (the output is no new selection) and bears the file's name, hostile calls
# are refused, and the bus starts Vuel through the user's activation file. Space's toggle itself:
# controller toggle_test; an arrow key in the preview moving the selection: gnome_files.sh.
set -euo pipefail
source "$(dirname "$0")/../lib.sh"
own_bus "$@"

visible_prop() { gdbus call --session --dest org.gnome.NautilusPreviewer --object-path /org/gnome/NautilusPreviewer \
  --method org.freedesktop.DBus.Properties.Get org.gnome.NautilusPreviewer2 Visible; }
show_file() { previewer ShowFile "file://$tmp/files/$1" "" "$2" >/dev/null; }

printf 'a\n' > "$tmp/files/a.txt"
printf 'b\n' > "$tmp/files/b.txt"
# The plug-in table lives beside the program: a copy of it, with a table of its own.
mkdir -p "$tmp/bin"; cp "$VUEL_BUILD/vuel" "$tmp/bin/vuel"
printf '#!/bin/sh\ntr a-z A-Z < "$1" > "$2.txt"\n' > "$tmp/upper.sh"
printf '[["Upper", "up", "sh %s"]]\n' "$tmp/upper.sh" > "$tmp/bin/plugins.settings"
printf 'made upper case by a plug-in\n' > "$tmp/files/notes.up"

(cd "$tmp" && exec "$tmp/bin/vuel" log) & pids+=($!)
wait_for 30 test -S "$XDG_RUNTIME_DIR/vuel" || fail "no instance"
wait_for 30 owned || fail "the name is not taken" # asking before would start another previewer
[ "$(visible_prop)" = "(<false>,)" ] || fail "Visible before any preview: $(visible_prop)"
grep -qF "test -x '$tmp/bin/vuel'" "$XDG_DATA_HOME/dbus-1/services/org.gnome.NautilusPreviewer.service" \
  || fail "no activation file"
dbus-monitor --session "type='signal',interface='org.freedesktop.DBus.Properties',path='/org/gnome/NautilusPreviewer'" \
  > "$tmp/signals.log" 2>&1 & pids+=($!)
# Its own unique name goes once it has become a monitor: from then on it hears everything.
wait_for 20 grep -q 'member=NameLost' "$tmp/signals.log" || fail "dbus-monitor did not start"

show_file a.txt true
wait_for 20 shown a.txt || fail "ShowFile(true) did not show a.txt"
[ "$(visible_prop)" = "(<true>,)" ] || fail "Visible is not true while shown"
wait_for 20 grep -q 'boolean true' "$tmp/signals.log" || fail "no PropertiesChanged for Visible=true"

show_file b.txt false
wait_for 20 shown b.txt || fail "a new selection did not switch the preview"
previewer Close >/dev/null
wait_for 20 hidden b.txt || fail "Close() did not hide"
wait_for 20 grep -q 'boolean false' "$tmp/signals.log" || fail "no PropertiesChanged for Visible=false"
show_file a.txt false
sleep 0.5 # nothing may show: a short look
hidden a.txt || fail "a selection change showed a hidden preview"

# The file manager keeps the keyboard when the preview appears, and its Esc closes the preview.
xmessage -name fm -title fm "a file manager" & pids+=($!)
wait_for 20 shown fm || fail "no file manager window"
xdotool windowactivate --sync "$(shown fm)"
show_file a.txt true
wait_for 20 shown a.txt || fail "a.txt not shown"
sleep 0.5 # the focus must stay: a short look
[ "$(xdotool getactivewindow)" = "$(shown fm)" ] || fail "the preview took the focus from the file manager"
xdotool key Escape
wait_for 20 hidden a.txt || fail "Esc in the file manager did not close the preview"
previewer ShowFile "file://$tmp/files/notes.up" "x11:$(printf %x "$(shown fm)")" true >/dev/null
output_shown() { grep -q 'loading cost .*/Vuel/.*\.txt"' "$tmp/vuel.log"; }
wait_for 30 output_shown || fail "the plug-in's output was not shown"
wait_for 20 shown notes.up || fail "the preview is not titled notes.up: $(xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null | tr '\n' ' ')"
xdotool windowactivate --sync "$(shown fm)"
sleep 2 # four checks of the selection: the preview must stay, a short look
shown notes.up >/dev/null || fail "the plug-in's preview closed itself"
still "$shots/plugin_preview.png" on_screen "$(shown notes.up)" || fail "the preview keeps changing"
previewer Close >/dev/null
wait_for 20 hidden notes.up || fail "Close() did not hide"

# Hostile calls: refused, and the service still answers at once afterwards. (FIFOs and folders
# of every kind: mainwnd loadroute_test, pdfwnd_test, dirwnd_test.)
printf 'x' > "$tmp/files/line
break.txt"
for uri in "http://example.invalid/a.txt" "not a uri" "file://$tmp/files/missing.txt" \
           "file://$(head -c 100000 /dev/zero | tr '\0' a)"; do
  previewer ShowFile "$uri" "" true >/dev/null || true
done
sleep 0.3 # nothing may show: a short look
[ "$(visible_prop)" = "(<false>,)" ] || fail "a refused ShowFile showed the window"
previewer ShowFile "file://$tmp/files/line%0Abreak.txt" "" true >/dev/null
# (a function: a process substitution would read the log only once)
line_break_shown() { grep -F 'line\nbreak.txt' "$tmp/vuel.log" | grep -qF 'loading cost'; }
wait_for 20 line_break_shown || fail "a name with a line break was not shown"
wait_for 2 visible_prop || fail "the service stopped answering"

# Quitting releases the name; a ShowFile then starts Vuel through the activation file...
kill "${pids[0]}"; wait "${pids[0]}" 2>/dev/null || true
not_owned() { ! owned; }
wait_for 20 not_owned || fail "the name is still owned after quitting"
printf '[General]\nshow_welcome=false\ntracking_file=false\n' > "$XDG_CONFIG_HOME/Keplo/Vuel.conf"
show_file b.txt true || true
wait_for 30 shown b.txt || fail "the bus did not start Vuel for ShowFile"
# ... and with tracking off, a new selection no longer switches the preview.
show_file a.txt false
sleep 0.5 # the preview may not switch: a short look
shown b.txt >/dev/null || fail "tracking_file=false still switched the preview"
echo PASS
