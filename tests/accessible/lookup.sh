#!/usr/bin/env bash
# Each installed file manager shows a folder of awkward names in the home folder (where path
# bars leave out the folders above); the keyboard picks a file, and FocusedItemPath must name
# that file, in icon and list views, and then the next one. A stopped file manager gives
# nothing and the lookup comes back (its time is printed), and once it runs again it answers.
set -euo pipefail
# A session bus of our own, so that the accessibility bus is started afresh, with its socket in
# the test's runtime folder: without one it falls back to ~/.cache/at-spi/bus, shared with
# every other session of the user.
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../tools/filemanager.sh"
own_bus "$@"
unset NO_AT_BRIDGE
export HOME="$tmp/home" GTK_MODULES=gail:atk-bridge # GTK 2 programs (PCManFM) load the bridge as a module
mkdir -p "$HOME"

dir="$HOME/Vuel ü files"
mkdir -p "$dir/sub folder"
for f in "alpha one.txt" "crème brûlée.txt" "delta ü.pdf" "zeta.png"; do printf 'x\n' > "$dir/$f"; done

coproc PROBE { exec "$VUEL_BUILD/accessible_probe" 2>"$tmp/probe.err"; }
pids+=($PROBE_PID)
lookup() { echo "$1" >&"${PROBE[1]}"; local line; read -r -t 10 line <&"${PROBE[0]}" || fail "the probe did not answer"; printf '%s' "$line"; }
last_ms() { tail -1 "$tmp/probe.err" | awk '{print $2}'; }
[ -z "$(lookup 0x7fffff)" ] || fail "a window that does not exist gave a path"

# select KEYS... TEXT: switches the view, goes to the first item and types TEXT to reach a file;
# the pauses pace the keys, as each file manager takes a moment to switch views and to search
select_file() {
  keys "$1"; sleep 1.5
  xdotool key Home; sleep 0.3
  xdotool type --delay 80 "$2"; sleep 0.6
  xdotool key Escape; sleep 0.5
}
got=""
expect() { # expect FILE WHAT: the file manager may still be drawing, so tries for 10 s
  local try=0 end=$((SECONDS + 10))
  until got=$(lookup "$fm"); try=$((try + 1)); [ "$got" = "$dir/$1" ]; do
    [ $SECONDS -lt $end ] || return 1
    sleep 0.5
  done
  echo "ok: $2 ($(last_ms) ms, try $try)"
}
# pick KEYS TEXT FILE WHAT: a file manager just started fills its view in its own time, and
# keys before that are lost: the selection again, until the lookup names the file
pick() {
  for _ in 1 2 3; do select_file "$1" "$2"; expect "$3" "$4" && return 0; done
  fail "$4: got '$got', not '$dir/$3'"
}

tested=0
# NAME, command, the keys of an icon view and a list view
for entry in "pcmanfm|pcmanfm|ctrl+1 ctrl+4" "thunar|thunar|ctrl+1 ctrl+2" "caja|caja --no-desktop|ctrl+1 ctrl+2" \
          "nemo|nemo|ctrl+1 ctrl+2"; do
  IFS='|' read -r name cmd views <<<"$entry"
  command -v "$name" >/dev/null || { echo "SKIP: $name is not installed (scripts/install-deps installs it)"; continue; }
  # shellcheck disable=SC2086 # the command's words
  fm_open $cmd "$dir"
  for view in $views; do
    pick "$view" "crè" "crème brûlée.txt" "$name $view, first file"
    pick "$view" "delta" "delta ü.pdf" "$name $view, second file"
  done
  kill -STOP "$fm_pid"
  [ -z "$(lookup "$fm")" ] || fail "$name stopped, yet a path"
  ms=$(last_ms)
  [ -z "$(lookup "$fm")" ] || fail "$name stopped, yet a path the second time"
  echo "ok: $name stopped: nothing, the lookup gave up after $ms ms, then $(last_ms) ms"
  kill -CONT "$fm_pid"
  expect "delta ü.pdf" "$name running again" || fail "$name running again: got '$got', not '$dir/delta ü.pdf'"
  kill "$fm_pid"; wait "$fm_pid" 2>/dev/null || true
  tested=$((tested + 1))
done
[ "$tested" -gt 0 ] || fail "no file manager to try"
echo PASS
