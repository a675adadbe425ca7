#!/usr/bin/env bash
# The listing viewer as a user meets it: a nested ZIP opened out (a RAR's tree is the same
# view, checked against bsdtar in dirwnd_test), a folder as a tree and as columns, "S"
# previewing the selected file in the same window, and a ZIP made on Chinese Windows.
# Screenshots go to test-shots/ for a person to look at.
set -euo pipefail
source "$(dirname "$0")/../lib.sh"
printf '[General]\nshow_welcome=false\ndisplay_controls=true\n' > "$XDG_CONFIG_HOME/Keplo/Vuel.conf"
bash "$VUEL_SOURCE/tests/dirs/make-archives" "$tmp/files"
mkdir -p "$tmp/files/folder/docs/old" "$tmp/files/folder/pictures"
printf 'notes\n' > "$tmp/files/folder/docs/notes.txt"
printf 'secret\n' > "$tmp/files/folder/.hidden"
printf 'read me\n' > "$tmp/files/folder/readme.txt"
printf 'old\n' > "$tmp/files/folder/docs/old/draft.txt"

# click_at X Y: a click that changes the window (a row opened out, a column added, a selection);
# the next click's place depends on it. The pointer goes there first, so that the picture before
# has its hover already.
click_at() {
  xdotool mousemove "$1" "$2"
  still "$tmp/before.png" import -window "$win" || fail "the window keeps changing"
  xdotool click 1
  wait_for 30 changed "$tmp/before.png" "$tmp/after.png" import -window "$win" || fail "a click at $1,$2 changed nothing"
}
# Content starts below the 30 px shadow and the 32 px title bar.
click_content() { click_at $((X + 30 + $1)) $((Y + 62 + $2)); }
# The content grabs no keyboard focus, so rows are opened out by their arrows: row N of the
# tree at depth D (rows of 22 px below a 26 px header).
open_row() { click_content $((10 + 20 * $2)) $((38 + 22 * ($1 - 1))); }
# The control bar: open with, reveal, a divider, then tree (120 px in) and columns (160 px).
click_bar() { click_at $((X + 30 + $1)) $((Y + HEIGHT - 30 - 21)); }

start_instance
preview nested.zip
# The window takes its fitted size a moment after the load.
wide() { geometry "$win"; [ "$WIDTH" = "$1" ]; }
wait_for 20 wide $((700 + 62)) || fail "an archive's window is $WIDTH wide"
# Bottom-up, so the rows above stay where they are: with spaces, 中文, a, then a/b.
open_row 5 0; open_row 2 0; open_row 1 0; open_row 2 1
on_screen "$win" "$shots/dirs_zip_tree.png"

preview folder
wait_for 20 wide $((900 + 62)) || fail "a folder's window is $WIDTH wide"
open_row 1 0; open_row 2 1
on_screen "$win" "$shots/dirs_folder_tree.png"
click_bar 160
# Three levels of columns: folder, docs, old.
click_content 60 12; click_content 360 12
on_screen "$win" "$shots/dirs_folder_columns.png"

# "S" on a selected file shows it here.
click_content 660 12
xdotool key s
wait_for 20 shown draft.txt || fail "S did not preview the selected file"

# A ZIP made on Chinese Windows, in a Chinese locale: a new instance reads the new locale.
kill "${pids[-1]}"; wait "${pids[-1]}" 2>/dev/null || true; rm "$tmp/vuel.log"
LANG=zh_CN.UTF-8 LC_ALL= LANGUAGE= start_instance
preview gbk.zip
geometry "$win"
open_row 1 0
on_screen "$win" "$shots/dirs_chinese_zip.png"
echo "listing viewer: ok"
