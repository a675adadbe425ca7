#!/usr/bin/env bash
# Names a file manager or a command line may hand over: bytes that are not UTF-8 (over the bus
# and as an argument) and names whose bidirectional controls would hide their real suffix.
# (file://localhost and relative file: URIs: fileuri_test.)
set -euo pipefail
source "$(dirname "$0")/../lib.sh"
own_bus "$@"
call() { previewer ShowFile "$1" "" "$2" >/dev/null; }
# text_loaded NAME: the last load of NAME was a viewer's, not the information panel's (which logs "0 0")
text_loaded() { grep -F 'loading cost' "$tmp/vuel.log" | grep -F "/$1\"" | tail -1 | grep -qvE ' 0 0$'; }

printf 'byte ff content\n' > "$tmp/files/b"$'\xff'".txt"
bidi=$'\u202e'"txt.exe"
printf 'MZ' > "$tmp/files/$bidi"
mkdir "$tmp/z" && printf 'x' > "$tmp/z/$bidi" && printf 'y' > "$tmp/z/plain.txt"
(cd "$tmp/z" && zip -q ../bidi.zip "$bidi" plain.txt)

start_instance
wait_for 30 owned || fail "the name is not taken"

# Not UTF-8: over the bus, as an absolute and as a relative argument.
ff=$'b\uFFFD.txt'
call "file://$tmp/files/b%FF.txt" true
wait_for 30 shown "$ff" || fail "b%FF.txt not shown"
wait_for 30 text_loaded "$ff" || fail "b%FF.txt did not show its text"
on_screen "$(shown "$ff")" "$shots/names_ff.png" || true
call "file://$tmp/files/b%FF.txt" true
wait_for 30 hidden "$ff" || fail "b%FF.txt did not toggle off"
for arg in "$tmp/files/b"$'\xff'".txt" "b"$'\xff'".txt"; do
  n=$(loads "$ff")
  rc=0; (cd "$tmp/files" && "$VUEL_BUILD/vuel" "$arg") || rc=$?
  [ $rc = 0 ] || fail "forwarding a name that is not UTF-8 exited $rc"
  wait_for 30 more_loads "$ff" "$n" || fail "the forwarded name was not previewed"
  wait_for 30 text_loaded "$ff" || fail "the forwarded name did not show its text"
  call "file://$tmp/files/b%FF.txt" true
  wait_for 30 hidden "$ff" || fail "b%FF.txt did not toggle off"
done

# A right-to-left override cannot turn txt.exe into exe.txt: in the title, the information
# panel and an archive's tree.
call "file://$tmp/files/%E2%80%AEtxt.exe" true
wait_for 30 shown $'\uFFFD'"txt.exe" || fail "the overriding name was shown as it is"
win=$(shown $'\uFFFD'"txt.exe")
wait_for 20 placed "$win"
still "$shots/names_bidi_panel.png" on_screen "$win" || fail "the information panel did not settle"
call "file://$tmp/bidi.zip" false
wait_for 30 shown bidi.zip || fail "bidi.zip not shown"
still "$shots/names_bidi_zip.png" on_screen "$(shown bidi.zip)" || fail "the archive did not settle"
call "file://$tmp/z" false
wait_for 30 shown z || fail "the folder z not shown"
still "$shots/names_bidi_folder.png" on_screen "$(shown z)" || fail "the folder did not settle"
echo PASS
