# Polling and looking at windows, for the window tests and the package test.
# wait_for SECONDS COMMAND...: polls until COMMAND succeeds
wait_for() { local end=$((SECONDS + $1)); shift; until "$@" >/dev/null 2>&1; do [ $SECONDS -lt $end ] || return 1; sleep 0.1; done; }
shown() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 | grep .; }
hidden() { ! xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
# What the user sees of window $1: the composited screen, where a wrong alpha shows.
# shellcheck disable=SC2034 # set by xdotool's --shell output
on_screen() {
  local WIDTH="" HEIGHT="" X="" Y="" WINDOW SCREEN
  # a window the window manager is just reparenting is not there for a moment
  eval "$(xdotool getwindowgeometry --shell "$1" 2>/dev/null)" && [ -n "$WIDTH" ] || return 1
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$2"
}
