#!/usr/bin/env bash
# The text viewer as a user meets it: coloured source with line numbers and the control bar, in
# a window fitted to it. (Format Code, Ctrl+wheel zoom and the encoding box: code_test; the
# control bar's buttons clicked in the program: open_and_reveal.sh.) Screenshots go to test-shots/.
set -euo pipefail
source "$(dirname "$0")/../lib.sh"
printf '[General]\nshow_welcome=false\ndisplay_controls=true\ntext_line_num=true\n' > "$XDG_CONFIG_HOME/Keplo/Vuel.conf"
cp "$VUEL_SOURCE/src/code/ccodewnd.cpp" "$tmp/files/viewer.cpp"

start_instance
preview viewer.cpp
# The window takes its fitted size a moment after the load.
fitted() { geometry "$win"; [ "$WIDTH" = $((900 + 62)) ]; }
wait_for 20 fitted || fail "a source file's window is $WIDTH wide"
still "$shots/code_cpp.png" import -window "$win" || fail "viewer.cpp keeps changing"
esc_closes viewer.cpp
echo PASS
