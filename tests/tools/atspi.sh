# Vuel's widgets by their accessible names, as a screen reader sees them (atspi-find).
# Start the accessibility bus before the program; set $win to the title of the window in use.
# atspi_session ARGS: the calling test again on a session bus of its own (own_bus), with Qt's
# accessibility bridge on.
atspi_session() {
  own_bus "$@"
  unset NO_AT_BRIDGE
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
}
atspi_start_bus() { /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/atspi-find" - >/dev/null; }
atspi_find() { /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/atspi-find" Vuel "$@"; }
# atspi_point NAME [ROLE]: the mouse onto it; fails when it or the window $win is not shown.
atspi_point() {
  local r id X Y WIDTH HEIGHT WINDOW SCREEN
  r=$(atspi_find "$@") || return 1
  id=$(xdotool search --onlyvisible --name "^$win\$" 2>/dev/null | head -1) && [ -n "$id" ] || return 1
  eval "$(xdotool getwindowgeometry --shell "$id")"
  xdotool mousemove $((X + $(cut -d' ' -f1 <<<"$r"))) $((Y + $(cut -d' ' -f2 <<<"$r")))
}
# atspi_click NAME [ROLE]: waits up to 20 s for it, then clicks it.
atspi_click() {
  local end=$((SECONDS + 20))
  until atspi_point "$@"; do [ $SECONDS -lt $end ] || return 1; sleep 0.2; done
  xdotool click 1
  sleep 0.4
}
# tray_menu: opens the tray icon's menu and prints its items once it shows. The icon sits at the
# right end of the tray host of scripts/with-display; just after a start it may not be there yet.
tray_menu() {
  for _ in 1 2 3; do
    /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/atspi-menu" Vuel xdotool mousemove 1590 986 click 3 && return 0
  done
  return 1
}
# from_tray KEY TITLE: the tray menu's item of shortcut KEY opens the window TITLE
from_tray() { tray_menu >/dev/null || fail "no tray menu"; xdotool key "$1"; wait_for 20 shown "$2" || fail "'$1' opened no $2"; }
