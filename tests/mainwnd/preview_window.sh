#!/usr/bin/env bash
# The preview window as a user meets it: fitted and centred, Esc and Ctrl+W close it with a
# visible fade, the title bar drags it, the edge band resizes it, T hides the title bar.
set -euo pipefail
source "$(dirname "$0")/../lib.sh"
printf 'hello\n' > "$tmp/files/note.dat"

start_instance
preview note.dat
# The window takes its fitted size and place, and is drawn, a moment after the load.
# the information panel's content area is 400 x 340, inside a 30 px shadow and a 32 px title bar
fitted() { geometry "$win"; [ "$WIDTH" = 462 ] && [ "$HEIGHT" = 434 ]; }
wait_for 20 fitted || fail "window is ${WIDTH}x$HEIGHT"
centred() { geometry "$win"; [ $((X + WIDTH / 2)) -ge 790 ] && [ $((X + WIDTH / 2)) -le 810 ]; }
wait_for 20 centred || fail "not centred: x=$X width=$WIDTH"
drawn() {
  import -window "$win" "$VUEL_BUILD/test-shots/preview_window.png" &&
    [ "$(convert "$VUEL_BUILD/test-shots/preview_window.png" -format '%[fx:standard_deviation>0.05]' info:)" = 1 ]
}
wait_for 20 drawn || fail "the window is blank"

# The fade-out reaches the window system step by step: an opacity between none and full.
faded_midway() {
  local w v seen=1
  w=$(shown note.dat) || return 1
  xdotool windowactivate --sync "$w" key Escape
  while v=$(xprop -id "$w" _NET_WM_WINDOW_OPACITY 2>/dev/null) && ! hidden note.dat; do
    v=${v##* }
    [[ $v =~ ^[0-9]+$ ]] && [ "$v" -gt 0 ] && [ "$v" -lt 4294967295 ] && seen=0
  done
  return $seen
}
fade_seen=1
for _ in 1 2 3; do # a busy machine may let a whole fade pass between two looks
  wait_for 20 shown note.dat || preview note.dat
  faded_midway && { fade_seen=0; break; }
  wait_for 20 hidden note.dat || fail "Esc did not close"
done
[ $fade_seen = 0 ] || fail "the fade-out never reached the window system"
wait_for 20 hidden note.dat || fail "Esc did not close"
preview note.dat
xdotool windowactivate --sync "$win" key ctrl+w
wait_for 20 hidden note.dat || fail "Ctrl+W did not close"

preview note.dat
wait_for 20 centred || fail "not centred again: x=$X width=$WIDTH"
geometry "$win"; x0=$X y0=$Y w0=$WIDTH h0=$HEIGHT
# drag by the title bar
xdotool mousemove $((x0 + 120)) $((y0 + 30 + 16)) mousedown 1 mousemove $((x0 + 170)) $((y0 + 76)) sleep 0.2 \
  mousemove $((x0 + 220)) $((y0 + 106)) mouseup 1
dragged() { geometry "$win"; [ $((X - x0)) -ge 90 ] && [ $((Y - y0)) -ge 50 ]; }
wait_for 20 dragged || fail "title-bar drag moved it by $((X - x0)),$((Y - y0))"
# the resize band is the last 5 pixels of the shadow on the right
x0=$X y0=$Y
xdotool mousemove $((x0 + WIDTH - 30 + 2)) $((y0 + HEIGHT / 2)) mousedown 1 sleep 0.2 \
  mousemove $((x0 + WIDTH + 40)) $((y0 + HEIGHT / 2)) sleep 0.2 mousemove $((x0 + WIDTH + 80)) $((y0 + HEIGHT / 2)) \
  sleep 0.2 mouseup 1
widened() { geometry "$win"; [ $((WIDTH - w0)) -ge 40 ]; }
wait_for 20 widened || fail "edge drag did not widen it (${w0} -> $WIDTH)"
# T hides the title bar and remembers it
xdotool windowactivate --sync "$win" key t
wait_for 20 grep -q 'display%20titlebar=false' "$XDG_CONFIG_HOME/Keplo/Vuel.conf" || fail "T was not stored"
esc_closes note.dat
preview note.dat
untitled() { geometry "$win"; [ "$HEIGHT" = $((434 - 32)) ]; }
wait_for 20 untitled || fail "without its title bar the window is ${HEIGHT} high"
echo PASS
