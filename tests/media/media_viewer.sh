#!/usr/bin/env bash
# The media viewer as a user meets it: the colour bars of a playing video where they belong, an
# audio file's cover, the music picture, and files that fall back to the information panel.
# Screenshots go to test-shots/ for a person to look at.
set -euo pipefail
source "$(dirname "$0")/../lib.sh"
printf '[General]\nshow_welcome=false\ndisplay_controls=true\n' > "$XDG_CONFIG_HOME/Keplo/Vuel.conf"
bash "$VUEL_SOURCE/tests/media/make-media" "$tmp/files"
export VUEL_AUDIO_OUTPUT=null # no sound card here

# preview NAME: once loaded, and fitted to what was loaded; its geometry in X, Y, WIDTH, HEIGHT
preview() {
  preview_with "$VUEL_BUILD/vuel" "$tmp/files/$1"
  wait_for 20 placed "$win" || fail "$1 keeps changing its size"
  geometry "$win"
}
picture() { on_screen "$(shown "$1")" "$2"; }
near() { # near "r,g,b" "r,g,b": every channel within 40
  local IFS=,; read -r a b c <<<"$1"; read -r d e f <<<"$2"
  [ $(( (a-d)*(a-d) < 1600 && (b-e)*(b-e) < 1600 && (c-f)*(c-f) < 1600 )) = 1 ]
}
# Content starts below the 30 px shadow and the 32 px title bar; the content is 640 × 360 for wide.mp4.
expect() { local got; got=$(pixel "$1" "$2" "$3"); near "$got" "$4" || fail "$1 at $2,$3 is $got, not $4"; }
# shows NAME SHOT X Y RGB: a screenshot with that colour there comes (frames are drawn after the load)
shows() { picture "$1" "$2" && near "$(pixel "$2" "$3" "$4")" "$5"; }

start_instance
preview wide.mp4
# Seven bars across 640 px: grey, yellow, cyan, green, magenta, red, blue.
bars=("191,191,191" "191,191,0" "0,191,191" "0,191,0" "191,0,191" "191,0,0" "0,0,191")
wait_for 30 shows wide.mp4 "$shots/media_video.png" $((31 + 45)) $((62 + 100)) "${bars[0]}" || true
for i in "${!bars[@]}"; do expect "$shots/media_video.png" $((31 + i * 640 / 7 + 45)) $((62 + 100)) "${bars[$i]}"; done

# The renderer turns these itself: libmpv's own turning aborted the program.
# A phone photo (EXIF orientation 6) under a video suffix.
bash "$VUEL_SOURCE/tests/picture/make-pictures" "$tmp/pictures" >/dev/null
cp "$tmp/pictures/exif6.jpg" "$tmp/files/turned-photo.mp4"
preview bars.mp4
level=$HEIGHT
for turned in turned.mp4 turned-photo.mp4; do
  preview $turned
  [ "$HEIGHT" -gt "$level" ] || fail "$turned is not upright: ${WIDTH}x$HEIGHT, the level bars ${level} high"
  picture $turned "$shots/media_${turned%.mp4}.png"
done

preview cover.mp3
[ "$WIDTH" -lt 500 ] && fail "the cover's window is only $WIDTH wide"
wait_for 30 shows cover.mp3 "$shots/media_cover.png" $((WIDTH / 2)) $((30 + 32 + 50)) "255,0,0" || true
expect "$shots/media_cover.png" $((WIDTH / 2)) $((30 + 32 + 50)) "255,0,0"

preview tone.ogg
picture tone.ogg "$shots/media_music.png"

# One unreadable file (the others: media_test): the information panel.
errors=$(grep -c SlotErr "$tmp/vuel.log" || true)
preview garbage.mkv
more_errors() { [ "$(grep -c SlotErr "$tmp/vuel.log")" -gt "$errors" ]; }
wait_for 30 more_errors || fail "garbage.mkv gave no error in the log"
still "$shots/media_unreadable.png" picture garbage.mkv || fail "the information panel keeps changing"

preview oneframe.mp4
# Narrower than the smallest window: centred, so its middle (the green bar) is the window's.
wait_for 30 shows oneframe.mp4 "$tmp/oneframe.png" $((WIDTH / 2)) $((62 + 60)) "0,191,0" || true
expect "$tmp/oneframe.png" $((WIDTH / 2)) $((62 + 60)) "0,191,0"
esc_closes oneframe.mp4
echo "media viewer: ok"
