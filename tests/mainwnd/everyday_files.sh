#!/usr/bin/env bash
# What GNOME Files' Space shows of everyday Linux files, through the previewer bus: a README as
# text, a YAML file coloured, a font's specimen with the user's own sample text. (Which viewer
# takes HEIC, tarballs and the other everyday kinds: everyday_kinds.sh.)
set -euo pipefail
source "$(dirname "$0")/../lib.sh"
own_bus "$@"
printf '[General]\nshow_welcome=false\ndisplay_controls=true\n' > "$XDG_CONFIG_HOME/Keplo/Vuel.conf"
f="$tmp/files"
printf 'Vuel\n====\n\nA quick file previewer. Select a file, press Space.\n' > "$f/README"
printf 'name: build\non:\n  push:\n    branches: [main]\njobs:\n  test:\n    runs-on: debian-12\n    steps:\n      - run: scripts/test # all of it\n        timeout: 50\n' > "$f/ci.yaml"
cp /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf "$f/Sans Bold.ttf"

show_file() { previewer ShowFile "file://$1" "" true >/dev/null; }
# preview NAME KIND SUBTYPES: Space on it in the file manager; the log names the kind
preview() {
  preview_with show_file "$f/$1"
  grep -E "loading cost .*/$1\" $2 ($3)\$" "$tmp/vuel.log" >/dev/null || fail "$1: $(grep "/$1\"" "$tmp/vuel.log")"
  wait_for 20 placed "$win" || fail "$1 keeps moving"
  still "$shots/everyday_${1// /_}.png" on_screen "$win" || fail "$1 keeps changing"
}
# saturated SHOT: how many pixels of the text (inside the coloured frame, below the title bar,
# above the control bar's icons) have a clear colour: a lexer's, not black, grey or white
saturated() {
  local w h; read -r w h < <(identify -format '%w %h' "$1")
  convert "$1" -crop "$((w - 80))x$((h - 130))+40+60" +repage -colorspace HSL -channel G -separate +channel \
    -threshold 50% -format '%[fx:round(mean*w*h)]' info:
}

start_instance
wait_for 30 owned || fail "the previewer name is not taken"
preview README 6 28
[ "$(saturated "$shots/everyday_README.png")" -lt 200 ] || fail "README is coloured like code"
preview ci.yaml 6 28
[ "$(saturated "$shots/everyday_ci.yaml.png")" -ge 200 ] || fail "ci.yaml is not coloured"
preview "Sans Bold.ttf" 7 34
# The sample text field in the control bar: what the user types is drawn at every size.
geometry "$win"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 30 - 20)) click 1
xdotool type --delay 40 'Zwölf Boxkämpfer jagen Viktor quer über den Sylter Deich'
typed() { still "$shots/everyday_font_typed.png" on_screen "$win" &&
  [ "$(compare -metric AE "$shots/everyday_Sans_Bold.ttf.png" "$shots/everyday_font_typed.png" null: 2>&1)" -gt 5000 ]; }
wait_for 30 typed || fail "the typed sample text is not drawn"
echo PASS
