#!/usr/bin/env bash
# vuel-snapshot: one line per picture, the picture as wide and high as it says, and a clear
# one-line refusal for what it cannot do. Needs no display.
set -euo pipefail
source "$(dirname "$0")/../lib.sh"
unset DISPLAY
export QT_QPA_PLATFORM=offscreen
snap() { "$VUEL_BUILD/vuel-snapshot" "$@" 2>"$tmp/err"; }

printf 'hello\n' > "$tmp/files/note.txt"
printf 'x' > "$tmp/files/Ünïcode name 名字.txt"
: > "$tmp/files/empty.dat"
mkdir "$tmp/files/folder.zip"
printf 'Read me first.\n' > "$tmp/files/README" # no suffix: its content says text
for f in note.txt "Ünïcode name 名字.txt" empty.dat folder.zip README; do
  out=$(snap "$tmp/files/$f" "$tmp/out.png") || fail "$f: exit $?: $(cat "$tmp/err")"
  [[ $out =~ ^kind=MT_[A-Z]+\ subtype=[0-9]+\ load_ms=[0-9]+\ size=([0-9]+)x([0-9]+)$ ]] || fail "$f: line '$out'"
  [ "$(identify -format %wx%h "$tmp/out.png")" = "${BASH_REMATCH[1]}x${BASH_REMATCH[2]}" ] || fail "$f: picture size"
  [ "$(convert "$tmp/out.png" -format '%[fx:standard_deviation>0.05]' info:)" = 1 ] || fail "$f: blank picture"
done
out=$(snap --size 1000x700 "$tmp/files/note.txt" "$tmp/out.png") || fail "--size: $(cat "$tmp/err")"

refused() { # refused WHY ARGS...: exit 1 and exactly one line of ours on stderr
  local why=$1; shift
  if snap "$@" >/dev/null; then fail "$why: accepted"; fi
  [ "$(grep -c '^vuel-snapshot:' "$tmp/err")" = 1 ] || fail "$why: $(cat "$tmp/err")"
}
refused "missing file" "$tmp/files/missing.txt" "$tmp/out.png"
refused "unwritable output" "$tmp/files/note.txt" "$tmp/no/such/folder/out.png"
refused "bad size" --size 10x10 "$tmp/files/note.txt" "$tmp/out.png"
echo PASS
