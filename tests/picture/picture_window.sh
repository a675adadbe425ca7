#!/usr/bin/env bash
# Pictures in the real preview window: a photo fitted to the screen and its actual size, a
# quarter turn, a playing animation, a Photoshop document, and the help picture of a first start.
set -euo pipefail
source "$(dirname "$0")/../lib.sh"
shots="$VUEL_BUILD/test-shots"; mkdir -p "$shots"
bash "$(dirname "$0")/make-pictures" "$tmp/files" >/dev/null
convert "$tmp/files/base.png" -alpha on -channel A -fx 'i/w' "$tmp/files/layered.psd"
geometry() { eval "$(xdotool getwindowgeometry --shell "$1")"; }
preview() { "$VUEL_BUILD/vuel" "$tmp/files/$1" || true; wait_for 10 shown "$1" || fail "$1 not shown"; sleep 0.5; }
shot() { import -window "$1" "$shots/$2.png"; }
differ() { [ "$(compare -metric AE "$1" "$2" null: 2>&1 || true)" != 0 ]; }

start_instance
# 6000 × 4000 on a 1600 × 1000 screen: at most 90% of it, less the frame: 1152 × 768 content.
preview big.jpg
win=$(shown big.jpg); geometry "$win"
[ "$WIDTH" = $((1152 + 62)) ] && [ "$HEIGHT" = $((768 + 40 + 62 + 32)) ] || fail "big.jpg window is ${WIDTH}x$HEIGHT"
shot "$win" picture_photo
xdotool windowactivate --sync "$win"; sleep 1 # the full-size picture comes after the fitted one
xdotool key a; sleep 0.5; shot "$win" picture_actual
differ "$shots/picture_photo.png" "$shots/picture_actual.png" || fail "A did not show the actual size"
xdotool key w; sleep 0.5; shot "$win" picture_fit_again
xdotool key Right; sleep 0.5; shot "$win" picture_turned
differ "$shots/picture_fit_again.png" "$shots/picture_turned.png" || fail "Right did not turn the picture"
xdotool key Escape; wait_for 5 hidden big.jpg || fail "Esc did not close"

preview anim100.gif
win=$(shown anim100.gif)
shot "$win" picture_animation; sleep 0.4; shot "$win" picture_animation_later
differ "$shots/picture_animation.png" "$shots/picture_animation_later.png" || fail "the animation does not play"

preview exif6.jpg
geometry "$(shown exif6.jpg)"
[ "$HEIGHT" -gt "$WIDTH" ] || fail "the phone photo is not shown upright (${WIDTH}x$HEIGHT)"

preview layered.psd
win=$(shown layered.psd); shot "$win" picture_psd
grep -q 'loading cost.*layered.psd" 2 4' "$tmp/vuel.log" || fail "the PSD did not open in the picture viewer"

preview bomb.png # no crash, a picture scaled from the start
kill -0 "${pids[0]}" || fail "the instance died on bomb.png"

kill "${pids[0]}"; wait "${pids[0]}" 2>/dev/null || true
printf '[General]\nshow_welcome=true\n' > "$XDG_CONFIG_HOME/Keplo/Vuel.conf"
start_instance
wait_for 10 shown Help || fail "no help picture on a first start"
shot "$(shown Help)" picture_help
grep -q 'loading cost.*help.jpg" 2 5' "$tmp/vuel.log" || fail "the help picture did not open as a picture"
echo PASS
