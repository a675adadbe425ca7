#!/usr/bin/env bash
# On two screens the preview opens on the screen of the file-manager window that asked (its XID in
# ShowFile's handle), without a handle on the one under the pointer; centred there and no larger.
set -euo pipefail
if [ -z "${VUEL_TWO_SCREENS:-}" ]; then
  VUEL_TWO_SCREENS=1 VUEL_IN_SESSION= exec "$VUEL_SOURCE/scripts/with-display" "$0" "$@"
fi
source "$(dirname "$0")/../lib.sh"
own_bus "$@"
# as scripts/with-display lays them out: X Y WIDTH HEIGHT. The picture is larger than either: a preview wider
# than 600 pixels has been fitted to it.
screens=("0 0 1600 1000" "1600 0 1280 800")
convert -size 2400x1800 gradient:'#88c0d0-#5e81ac' "$tmp/files/big.png"
show_file() { previewer ShowFile "file://$tmp/files/big.png" "$1" true >/dev/null; }
# shellcheck disable=SC2034 # set by xdotool's --shell output
inside() {
  local WIDTH="" HEIGHT="" X="" Y="" WINDOW SCREEN sx sy sw sh
  read -r sx sy sw sh <<< "${screens[$2]}"
  eval "$(xdotool getwindowgeometry --shell "$1")"
  # the window's 30-pixel shadow may go past the edge
  [ $((X + 30)) -ge "$sx" ] && [ $((Y + 30)) -ge "$sy" ] && [ $((X + WIDTH - 30)) -le $((sx + sw)) ] &&
    [ $((Y + HEIGHT - 30)) -le $((sy + sh)) ] && [ $((X + WIDTH / 2 - sx - sw / 2)) -ge -10 ] &&
    [ $((X + WIDTH / 2 - sx - sw / 2)) -le 10 ] && [ "$WIDTH" -gt 600 ]
}

start_instance
wait_for 30 owned || fail "the previewer name is not taken"
xmessage -name fm0 -title fm0 -geometry +200+300 "a file manager on screen 0" & pids+=($!)
xmessage -name fm1 -title fm1 -geometry +1900+300 "a file manager on screen 1" & pids+=($!)
wait_for 20 shown fm0 || fail "no window fm0"
wait_for 20 shown fm1 || fail "no window fm1"

# handle (a window, or none), where the pointer is, the screen the preview must open on
cases=("fm1 100,100 1" "fm0 2200,400 0" "- 2200,400 1" "- 100,100 0")
for c in "${cases[@]}"; do
  read -r asker pointer screen <<< "$c"
  handle=""
  [ "$asker" = - ] || handle=$(printf 'x11:%x' "$(shown "$asker")")
  xdotool mousemove "${pointer%,*}" "${pointer#*,}"
  show_file "$handle"
  wait_for 30 shown big.png || fail "$c: not shown"
  win=$(shown big.png)
  wait_for 30 placed "$win" || true
  wait_for 30 inside "$win" "$screen" ||
    fail "$c: not fitted and centred on screen $screen: $(xdotool getwindowgeometry "$win" | tr '\n' ' ')"
  [ "$c" != "${cases[0]}" ] || still "$shots/two_screens.png" import -window root || fail "the screen never settled"
  show_file "$handle"
  wait_for 30 hidden big.png || fail "$c: ShowFile did not toggle the preview off"
done
echo "PASS"
