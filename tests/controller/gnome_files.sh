#!/usr/bin/env bash
# The real GNOME Files: Space on a selected file previews it, moving the selection switches
# the preview, an arrow key in the preview moves the selection too, Space again closes it —
# one toggle per key press.
set -euo pipefail
source "$(dirname "$0")/../lib.sh"
command -v nautilus >/dev/null || fail "nautilus is not installed"
for f in alpha.txt beta.txt gamma.txt; do echo "$f" > "$tmp/files/$f"; done

start_instance
# GTK 4's GL renderer draws with llvmpipe here; on a busy machine its frames leave GNOME Files
# no time to list the folder ("Loading…" for minutes). Its cairo renderer costs next to nothing.
GSK_RENDERER=cairo nautilus --new-window "$tmp/files" >/dev/null 2>&1 & pids+=($!)
wait_for 30 xdotool search --onlyvisible --name '^files$' || fail "GNOME Files did not open"
fm=$(xdotool search --onlyvisible --name '^files$' | head -1)
xdotool windowactivate --sync "$fm"
geometry "$fm"
# Click the first icon of the view (right of the sidebar) and press Space, until the view
# has filled in and the preview comes.
# A retry presses Space again, which would toggle a preview that is merely slow: wait long.
for _ in $(seq 10); do
  xdotool mousemove $((X + 330)) $((Y + 130)) click 1 sleep 0.3 key space
  wait_for 10 shown alpha.txt && break
done
shown alpha.txt >/dev/null || { import -window root "$shots/gnome_files_fail.png"; fail "Space did not preview alpha.txt"; }
xdotool windowactivate --sync "$fm" key Right
wait_for 20 shown beta.txt || { import -window root "$shots/gnome_files_fail.png"; fail "the preview did not follow the selection"; }
import -window root "$shots/gnome_files.png"
# An arrow key in the preview itself moves GNOME Files' selection, and the preview follows.
xdotool windowactivate --sync "$(shown beta.txt)" key Left
wait_for 20 shown alpha.txt || { import -window root "$shots/gnome_files_fail.png"; fail "Left in the preview did not move the selection"; }
xdotool windowactivate --sync "$fm" key space
wait_for 20 hidden alpha.txt || fail "Space again did not close the preview"
sleep 1 # it must stay closed: a short look
hidden alpha.txt || fail "the same key press toggled twice"
# The log line of the last preview may come a moment after its window.
wait_for 20 loads_logged 3 || fail "expected three previews, got: $(grep 'loading cost' "$tmp/vuel.log")"
echo PASS
