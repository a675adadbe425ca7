#!/usr/bin/env bash
# Without a compositing manager the preview has no shadow band, which would show black; once
# a compositor runs, the next showing has its shadow again.
set -euo pipefail
if [ -z "${VUEL_NO_COMPOSITOR:-}" ]; then VUEL_NO_COMPOSITOR=1 VUEL_IN_SESSION= exec "$VUEL_SOURCE/scripts/with-display" "$0" "$@"; fi
source "$(dirname "$0")/../lib.sh"
convert -size 600x400 xc:'#fdd835' "$tmp/files/sun.png"
# edge SHOT: the pixel half-way down the window's left edge, where a shadow band would be
edge() { pixel "$1" 3 "$(($(identify -format %h "$1") / 2))"; }
show_sun() {
  previewer ShowFile "file://$tmp/files/sun.png" "" true >/dev/null
  wait_for 30 shown sun.png || fail "sun.png not shown"
  wait_for 20 placed "$(shown sun.png)" || fail "the preview kept moving"
  still "$shots/$1.png" on_screen "$(shown sun.png)" || fail "the preview keeps changing"
}

start_instance
show_sun no_compositor
bare=$(identify -format %w "$shots/no_compositor.png")
[ "$(edge "$shots/no_compositor.png")" != "0,0,0" ] || fail "a black band around the preview without a compositor"
previewer Close >/dev/null
wait_for 20 hidden sun.png || fail "Close did not hide"

xcompmgr >/dev/null 2>&1 & pids+=($!)
composited() { /usr/bin/python3 -c "import gi, sys; gi.require_version('Gdk', '3.0'); from gi.repository import Gdk
sys.exit(0 if Gdk.Screen.get_default().is_composited() else 1)"; }
wait_for 20 composited || fail "the compositor did not start"
show_sun compositor
shadowed=$(identify -format %w "$shots/compositor.png")
[ "$shadowed" -eq $((bare + 60)) ] || fail "with a compositor the window is $shadowed wide, not $bare + 60 for its shadow"
[ "$(edge "$shots/compositor.png")" != "0,0,0" ] || fail "the shadow is black"
echo PASS
