#!/usr/bin/env bash
# Pictures in the real preview window: a photo fitted to the screen and its actual size, a
# quarter turn, a playing animation, and the help picture of a first start. (EXIF orientation and
# decompression bombs: picture_test; which viewer takes a Photoshop document: everyday_kinds.sh.)
set -euo pipefail
source "$(dirname "$0")/../lib.sh"
bash "$(dirname "$0")/make-pictures" "$tmp/files" >/dev/null
shot() { import -window "$1" "$shots/$2.png"; }
# settled WINDOW NAME: a shot once the window has stopped changing; redrawn WINDOW BEFORE AFTER:
# such a shot AFTER, and it is not BEFORE
settled() { still "$shots/$2.png" import -window "$1" || fail "$2: the window keeps changing"; }
redrawn() { changed "$shots/$2.png" "$shots/$3.png" import -window "$1"; }

start_instance
# 6000 × 4000 on a 1600 × 1000 screen: at most 90% of it, less the frame: 1152 × 768 content.
preview big.jpg
# The window takes its fitted size a moment after the load.
fitted() { geometry "$win"; [ "$WIDTH" = $((1152 + 62)) ] && [ "$HEIGHT" = $((768 + 40 + 62 + 32)) ]; }
wait_for 20 fitted || fail "big.jpg window is ${WIDTH}x$HEIGHT"
settled "$win" picture_photo
xdotool windowactivate --sync "$win"; sleep 1 # the full-size picture comes after the fitted one
xdotool key a
wait_for 30 redrawn "$win" picture_photo picture_actual || fail "A did not show the actual size"
xdotool key w
wait_for 30 redrawn "$win" picture_actual picture_fit_again || fail "W did not fit the picture again"
xdotool key Right
wait_for 30 redrawn "$win" picture_fit_again picture_turned || fail "Right did not turn the picture"
esc_closes big.jpg

preview anim100.gif
# In its place first: a window still being fitted changes without any animation.
wait_for 20 placed "$win" || fail "anim100.gif keeps changing its size"
shot "$win" picture_animation
plays() { shot "$win" picture_animation_later && differ "$shots/picture_animation.png" "$shots/picture_animation_later.png"; }
wait_for 20 plays || fail "the animation does not play"

kill "${pids[0]}"; wait "${pids[0]}" 2>/dev/null || true
printf '[General]\nshow_welcome=true\n' > "$XDG_CONFIG_HOME/Keplo/Vuel.conf"
start_instance
wait_for 30 shown Help || fail "no help picture on a first start"
wait_for 30 grep -q 'loading cost.*help.jpg" 2 5' "$tmp/vuel.log" || fail "the help picture did not open as a picture"
settled "$(shown Help)" picture_help
echo PASS
