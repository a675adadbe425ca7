#!/usr/bin/env bash
# KDE's Dolphin, which knows no previewer bus: Space on a file in the home folder previews it
# through the keyboard hook and the accessibility bus (the folder from the bread-crumb bar and
# the user's places), the preview follows the selection, Space again closes it, and in the
# details view and a folder outside home (a bread-crumb bar from "/") Space previews again.
set -euo pipefail
source "$(dirname "$0")/../lib.sh"
own_bus "$@"
command -v dolphin >/dev/null || fail "dolphin is not installed (scripts/install-deps)"
unset NO_AT_BRIDGE
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 HOME="$tmp/home"
dir="$HOME/Vuel ü files"
mkdir -p "$dir" "$tmp/files/elsewhere"
for f in "alpha one.txt" "beta ü.txt" "gamma.txt"; do echo "$f" > "$dir/$f"; done
echo delta > "$tmp/files/elsewhere/delta.txt"
# press_until NAME KEY...: the keys, then Space, until NAME is previewed (Dolphin fills its view
# in its own time, and keys before that are lost)
press_until() {
  local name=$1; shift
  for _ in 1 2 3; do
    keys "$@"; sleep 0.5; keys space
    wait_for 20 shown "$name" && return 0
    keys Escape; sleep 0.5 # Dolphin's own selection mode, which its Space turns on
  done
  import -window root "$shots/hook_dolphin_fail.png"
  fail "Space in Dolphin did not preview $name"
}

source "$(dirname "$0")/../tools/atspi.sh"
source "$(dirname "$0")/../tools/filemanager.sh"
atspi_start_bus # Qt programs join an accessibility bus that runs; they start none

start_instance
fm_open dolphin "$dir"

press_until "alpha one.txt" Home
keys Right
wait_for 20 shown "beta ü.txt" || fail "the preview did not follow the selection"
still "$shots/hook_dolphin.png" import -window root || fail "the screen never settled"
keys space
wait_for 20 hidden "beta ü.txt" || fail "Space again did not close the preview"

keys Escape ctrl+3 # the details view
press_until "gamma.txt" End
keys Escape
wait_for 20 hidden "gamma.txt" || fail "Esc in Dolphin did not close the preview"

kill "$fm_pid"
fm_open dolphin "$tmp/files/elsewhere"
press_until "delta.txt" Home
echo PASS
