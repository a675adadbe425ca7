#!/usr/bin/env bash
# Double click opens the file with the desktop's default application; a file nothing opens
# shakes the window; the control bar's reveal button asks the file manager over D-Bus and,
# with no file manager on the bus, opens the folder instead.
set -euo pipefail
source "$(dirname "$0")/../lib.sh"
# A bus that cannot start the installed file manager, with the system's MIME database kept.
if [ -z "${VUEL_OWN_BUS:-}" ]; then
  mkdir -p "$tmp/system"; ln -s /usr/share/mime "$tmp/system/mime"
  export XDG_DATA_DIRS="$tmp/system"
fi
own_bus "$@"
mkdir -p "$XDG_DATA_HOME/applications"
opened="$tmp/opened.log"
cat > "$XDG_DATA_HOME/applications/vuel-test-opener.desktop" <<DESK
[Desktop Entry]
Type=Application
Name=Test Opener
Exec=sh -c 'echo "\$1" >> $opened' sh %f
MimeType=text/plain;inode/directory;
DESK
printf '[Default Applications]\ntext/plain=vuel-test-opener.desktop\ninode/directory=vuel-test-opener.desktop\n' \
  > "$XDG_CONFIG_HOME/mimeapps.list"
printf 'hello\n' > "$tmp/files/note.txt"
printf '\000\001\377\376' > "$tmp/files/blob.vueltestunknown" # binary: nothing opens it

preview() { # preview NAME: forwards the file; $win, once loaded and in its place
  preview_with "$VUEL_BUILD/vuel" "$tmp/files/$1"
  wait_for 20 placed "$win" || fail "$1 keeps moving"
}
centre_of() { eval "$(xdotool getwindowgeometry --shell "$1")"; echo "$((X + WIDTH / 2)) $((Y + HEIGHT / 2))"; }

start_instance
dbus-monitor --session "interface='org.freedesktop.FileManager1'" > "$tmp/bus.log" 2>&1 & pids+=($!)

# Double click on the content opens the file and hides the window.
preview note.txt
read -r cx cy <<<"$(centre_of "$win")"
xdotool mousemove "$cx" "$cy" click --repeat 2 --delay 80 1
wait_for 20 grep -qx "$tmp/files/note.txt" "$opened" || { echo "FAIL: not opened"; exit 1; }
wait_for 20 sh -c "! xdotool search --onlyvisible --name '^note.txt$'" || { echo "FAIL: still shown"; exit 1; }

# Nothing opens this one: the window stays and shakes sideways.
preview blob.vueltestunknown
geometry "$win"; x0=$X
read -r cx cy <<<"$(centre_of "$win")"
xdotool mousemove "$cx" "$cy" click --repeat 2 --delay 80 1
# The shake lasts half a second, and comes once the open has failed: looked for often and long.
moved=no end=$((SECONDS + 20))
while [ $SECONDS -lt $end ]; do
  geometry "$win"
  [ "$X" -ne "$x0" ] && moved=yes && break
  sleep 0.02
done
[ $moved = yes ] || { echo "FAIL: no shake"; cat "$tmp/vuel.log"; exit 1; }
sleep 0.8 # it must stay: a short look
shown blob.vueltestunknown >/dev/null || { echo "FAIL: hidden after a failed open"; exit 1; }

# "C" shows the control bar; its second button reveals the file.
still "$tmp/no-bar.png" import -window "$win" || { echo "FAIL: the window keeps changing"; exit 1; }
xdotool windowactivate --sync "$win" key c
wait_for 20 changed "$tmp/no-bar.png" "$tmp/bar.png" import -window "$win" || { echo "FAIL: C showed no control bar"; exit 1; }
geometry "$win"
cp "$tmp/bar.png" "$shots/control_bar.png"
# shadow 30 + border 1 + bar margin 9 + first button (38) + spacing: the reveal button's middle
xdotool mousemove $((X + 30 + 1 + 9 + 38 + 6 + 19)) $((Y + HEIGHT - 30 - 1 - 20)) click 1
wait_for 20 grep -q 'member=ShowItems' "$tmp/bus.log" || { echo "FAIL: no ShowItems call"; exit 1; }
grep -A3 'member=ShowItems' "$tmp/bus.log" | grep -q "file://$tmp/files/blob.vueltestunknown" \
  || { echo "FAIL: ShowItems without the file's URI"; cat "$tmp/bus.log"; exit 1; }
wait_for 20 grep -qx "$tmp/files" "$opened" || { echo "FAIL: the folder was not opened as a fallback"; exit 1; }
# the control bar setting is kept for the next start
grep -q 'display_controls=true' "$XDG_CONFIG_HOME/Keplo/Vuel.conf" || { echo "FAIL: C not saved"; exit 1; }
echo PASS
