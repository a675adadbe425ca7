#!/usr/bin/env bash
# A file system that stops answering (a network share whose server went away): regular files
# that list and open at once but whose reads never return, and names whose very stat never does.
# Each viewer, the window for a stat and the folder viewer for a listing give up within their
# bound and show the information panel with why, the window answers the bus all the while, a file that reads previews right
# after, answers that come after the preview moved on change nothing, and quitting does not wait
# for the calls still stuck.
set -euo pipefail
source "$(dirname "$0")/../lib.sh"
own_bus "$@"
share=$tmp/share
mkdir -p "$share"
# Unmounted first, always; killing the file system's process then ends the reads that wait on it.
trap 'fusermount3 -u -z "$share" 2>/dev/null || true; cleanup' EXIT
/usr/bin/python3 "$VUEL_SOURCE/tests/tools/stallfs.py" "$share" 2>"$tmp/stallfs.log" & pids+=($!)
stallfs=$!
wait_for 30 test -f "$share/stalled.txt" || fail "stallfs did not mount: $(cat "$tmp/stallfs.log")"

f=$tmp/files
printf 'hello\n' > "$f/small.txt"
printf 'hello\n' > "$f/notes"
convert -size 64x48 xc:orange "$f/small.png"
/usr/bin/python3 -c 'import sys, pypdf; w = pypdf.PdfWriter(); w.add_blank_page(200, 200); w.write(sys.argv[1])' \
  "$f/small.pdf"
ffmpeg -nostdin -loglevel error -f lavfi -i sine=frequency=440:duration=1 -c:a libmp3lame "$f/small.mp3"
(cd "$f" && zip -q small.zip small.txt)
cp /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf "$f/small.ttf"

now_ms() { date +%s%3N; }
longest=0 frozen=
# answers: the window's thread answers a property read over the bus (the longest wait is kept)
answers() {
  local start took; start=$(now_ms)
  gdbus call --session --timeout 10 --dest org.gnome.NautilusPreviewer --object-path /org/gnome/NautilusPreviewer \
    --method org.freedesktop.DBus.Properties.Get org.gnome.NautilusPreviewer2 Visible >/dev/null || frozen=1
  took=$(($(now_ms) - start)); [ $took -le $longest ] || longest=$took
}
# panel_since LINE NAME: the log from LINE on has the information panel's load of NAME ("… 0 0")
panel_since() { tail -n +"$1" "$tmp/vuel.log" | grep -F 'loading cost' | grep -F "/$2\"" | grep -qE ' 0 0$'; }
# shown_since LINE NAME: … has a viewer's load of NAME
shown_since() { tail -n +"$1" "$tmp/vuel.log" | grep -F 'loading cost' | grep -F "/$2\"" | grep -qvE ' 0 0$'; }
# the answers go on while waiting for the state; a frozen window ends the wait
answering() { answers; [ -n "$frozen" ] || "$@"; }

start_instance
instance=${pids[-1]}
wait_for 30 owned || fail "the name is not taken"

# name|why the panel shows|a file of the same kind that reads. Two pictures stall: the picture
# pool must not wait on them. In "hung" even a stat never returns, and the folder, whose listing
# never comes, shows at once and then the panel; leaving it does not wait for its reader.
cases=(
  "hung/notes.txt|The file took too long to read.|small.txt"
  "hung/notes|The file took too long to read.|notes"
  "stalled|The file took too long to read.|notes"
  "stalled.txt|The file took too long to read.|small.txt"
  "stalled.png|The file took too long to read.|"
  "stalled.gif|The file took too long to read.|small.png"
  "stalled.pdf|The document took too long to open.|small.pdf"
  "stalled.mp3|The file took too long to read.|small.mp3"
  "stalled.ttf|The file took too long to read.|small.ttf"
  "hung|The folder took too long to read.|small.txt"
  "stalled.zip|The archive took too long to list.|small.zip"
)
for c in "${cases[@]}"; do
  IFS='|' read -r name why good <<< "$c"
  longest=0
  line=$(($(wc -l < "$tmp/vuel.log") + 1)) start=$(now_ms)
  previewer ShowFile "file://$share/$name" "" true >/dev/null
  wait_for 120 answering panel_since "$line" "$name" || fail "$name: no panel"
  [ -z "$frozen" ] || fail "$name: the window did not answer for 10 s"
  took=$(($(now_ms) - start))
  tail -n +"$line" "$tmp/vuel.log" | grep -qF "$why" || fail "$name: the panel was not for '$why'"
  echo "$name: panel after $took ms; longest bus wait $longest ms"
  [ "$name" != stalled ] || on_screen "$(shown stalled)" "$shots/stalled_reads_panel.png" || true
  [ "$name" != hung/notes.txt ] || on_screen "$(shown notes.txt)" "$shots/stalled_reads_stat_panel.png" || true
  [ "$name" != hung ] || shown_since "$line" hung || fail "the hung folder was not shown before its panel"
  [ "$name" != hung ] || on_screen "$(shown hung)" "$shots/stalled_reads_folder_panel.png" || true
  [ -n "$good" ] || continue
  line=$(($(wc -l < "$tmp/vuel.log") + 1)) start=$(now_ms)
  previewer ShowFile "file://$f/$good" "" false >/dev/null
  wait_for 60 answering shown_since "$line" "$good" || fail "$good was not shown after $name"
  [ -z "$frozen" ] || fail "the window did not answer for 10 s after $name"
  echo "$good: shown after $(($(now_ms) - start)) ms"
done

on_screen "$(shown small.zip)" "$shots/stalled_reads_last.png" || true

# The preview moves on before the bounds, then the share answers: the late results are dropped
# (posted to nothing that went), and a media file right after a stuck one plays.
for name in stalled.png stalled.pdf stalled.ttf stalled.mp3 hung/late.png; do
  previewer ShowFile "file://$share/$name" "" false >/dev/null
done
line=$(($(wc -l < "$tmp/vuel.log") + 1))
previewer ShowFile "file://$f/small.mp3" "" false >/dev/null
wait_for 60 shown_since "$line" small.mp3 || fail "small.mp3 did not play after a stuck one"
kill -USR1 "$stallfs"
line=$(($(wc -l < "$tmp/vuel.log") + 1))
previewer ShowFile "file://$f/small.png" "" false >/dev/null
wait_for 60 answering shown_since "$line" small.png || fail "small.png was not shown after the share answered"
[ -z "$frozen" ] || fail "the window did not answer after the share answered"
! tail -n +"$line" "$tmp/vuel.log" | grep -F 'loading cost' | grep -qF "$share/" || fail "a late read was shown"

# Reads stuck again at the end: quitting ends the window's thread at once; the threads the kernel
# holds in the reads end when the share answers. A sanitizer's leak check at the end stops every
# thread first and waits there (stopped, "t") for the held ones: that process is killed instead,
# since threads let go after the program's own end run into what it freed.
for name in stalled stalled.png stalled.pdf stalled.ttf stalled.gif stalled.mp3 stalled.zip hung/last.txt; do
  previewer ShowFile "file://$share/$name" "" false >/dev/null
done
(cd "$tmp" && "$VUEL_BUILD/vuel" --quit) || fail "--quit failed"
ended() { local s; s=$(ps -o stat= -p "$1" 2>/dev/null) || return 0; [ "${s:0:1}" = Z ] || [ "${s:0:1}" = t ]; }
start=$(now_ms)
wait_for 60 ended "$instance" || fail "quitting waited for the stuck reads"
echo "quit after $(($(now_ms) - start)) ms"
[ "$(ps -o stat= -p "$instance" 2>/dev/null | cut -c1)" != t ] || { kill -9 "$instance"; echo PASS; exit 0; }
kill -USR1 "$stallfs"
rc=0; wait "$instance" || rc=$?
[ $rc = 0 ] || fail "quitting exited $rc"
echo PASS
