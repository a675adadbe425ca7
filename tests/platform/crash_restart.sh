#!/usr/bin/env bash
# A fatal signal in the running instance: a fresh process tells the user (code and address
# in hexadecimal) and then runs as the instance again. A fault at start does not loop.
set -euo pipefail
source "$(dirname "$0")/../lib.sh"
printf 'a\n' > "$tmp/files/a.txt"

crash_with() { # crash_with SIGNAL HEXCODE
  start_instance
  local pid=${pids[-1]}
  kill -"$1" "$pid"
  wait_for 30 xdotool search --onlyvisible --name '^Sorry$' || fail "no message after SIG$1"
  local box
  box=$(xdotool search --onlyvisible --name '^Sorry$' | head -1)
  tr '\0' ' ' < "/proc/$pid/cmdline" | grep -q -- "--vuel-crash-report $2 " || fail "fresh process got $(tr '\0' ' ' < /proc/$pid/cmdline)"
  local shot="$shots/crash_$1.png"
  # The box is drawn a moment after it is mapped.
  drawn() { import -window "$box" "$shot" && [ "$(convert "$shot" -format '%[fx:standard_deviation>0.02]' info:)" = 1 ]; }
  wait_for 20 drawn || fail "the message is blank"
  xdotool windowactivate --sync "$box" key Return
  wait_for 20 hidden Sorry || fail "the message did not close"
  "$VUEL_BUILD/vuel" "$tmp/files/a.txt" || fail "no forwarding to the restarted process"
  wait_for 20 shown a.txt || fail "the restarted process does not preview"
  kill "$pid"; wait "$pid" 2>/dev/null || true
  rm -f "$tmp/vuel.log"
}

crash_with SEGV b
crash_with ABRT 6
crash_with FPE 8

# A fault at every start (here: no display to open) ends the program instead of restarting it
# for ever.
mkdir -m 700 "$tmp/nodisplay"
rc=0
env -u DISPLAY -u WAYLAND_DISPLAY XDG_RUNTIME_DIR="$tmp/nodisplay" timeout 30 "$VUEL_BUILD/vuel" >/dev/null 2>&1 || rc=$?
[ $rc != 124 ] || fail "a start without a display kept restarting"
[ $rc != 0 ] || fail "a start without a display reported success"
echo PASS
