#!/usr/bin/env bash
# The text viewer as a user meets it: coloured source with line numbers, JSON pretty-printed by
# the control bar's "Format Code", Ctrl+wheel zoom, a GBK file read by choosing its encoding in the
# bar's box. (XML, formatting errors and guessed encodings: code_test.) Screenshots go to test-shots/.
set -euo pipefail
source "$(dirname "$0")/../lib.sh"
printf '[General]\nshow_welcome=false\ndisplay_controls=true\ntext_line_num=true\n' > "$XDG_CONFIG_HOME/Keplo/Vuel.conf"
cp "$VUEL_SOURCE/src/code/ccodewnd.cpp" "$tmp/files/viewer.cpp"
printf '{"name":"Vuel","version":"0.4.2","kinds":["text","code","json"],"nested":{"deep":[1,2,{"x":null}]}}' \
  > "$tmp/files/data.json"
python3 -c 'import sys; open(sys.argv[1], "wb").write("中文文本：简体字的预览。\n第二行，GBK 编码。\n".encode("gbk"))' "$tmp/files/gbk.txt"

picture() { import -window "$1" "$2"; }
differs() { [ "$(compare -metric AE "$1" "$2" null: 2>&1 || true)" != 0 ]; }
# changed WINDOW BEFORE AFTER: the window, once it stops changing, is no longer BEFORE
changed() { still "$3" picture "$1" && differs "$2" "$3"; }
# The control bar is the last 40 px inside the 30 px shadow; its first buttons are "open with",
# "reveal" and a divider, then the format button. The encoding box sits at its right end.
bar_y() { echo $((Y + HEIGHT - 30 - 20)); }

start_instance
preview viewer.cpp
# The window takes its fitted size a moment after the load.
fitted() { geometry "$win"; [ "$WIDTH" = $((900 + 62)) ]; }
wait_for 20 fitted || fail "a source file's window is $WIDTH wide"
picture "$win" "$shots/code_cpp.png"

preview data.json
geometry "$win"
still "$tmp/json-raw.png" picture "$win" || fail "data.json keeps changing"
xdotool mousemove $((X + 30 + 110)) "$(bar_y)" click 1
wait_for 30 changed "$win" "$tmp/json-raw.png" "$shots/code_json_formatted.png" || fail "Format Code changed nothing"
xdotool mousemove $((X + 30 + 300)) $((Y + 150)) keydown ctrl click 4 click 4 keyup ctrl
wait_for 30 changed "$win" "$shots/code_json_formatted.png" "$tmp/json-zoomed.png" || fail "Ctrl+wheel did not zoom"

preview gbk.txt
geometry "$win"
still "$tmp/gbk-system.png" picture "$win" || fail "gbk.txt keeps changing"
xdotool mousemove $((X + WIDTH - 30 - 40)) "$(bar_y)" click 1
sleep 0.5 # the box's list opens before the keys that pick from it
xdotool type --delay 30 GBK
xdotool key Return
wait_for 30 changed "$win" "$tmp/gbk-system.png" "$shots/code_gbk.png" || fail "choosing GBK changed nothing"
esc_closes gbk.txt
echo PASS
