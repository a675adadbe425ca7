#!/usr/bin/env bash
# Two real processes meet over the local socket: forwarding, the notices, a stale socket
# file, and a socket no other user can reach.
set -euo pipefail
source "$(dirname "$0")/../lib.sh"
log="$tmp/vuel.log"
printf 'a\n' > "$tmp/files/a.txt"
printf 'b\n' > "$tmp/files/b b.txt"
second() { local rc=0; (cd "$tmp/files" && "$VUEL_BUILD/vuel" "$@") || rc=$?; echo $rc; }

start_instance
mode=$(stat -c %a "$XDG_RUNTIME_DIR/vuel")
[ $((8#$mode & 8#077)) -eq 0 ] || fail "socket mode $mode lets others in"
[ "$(stat -c %u "$XDG_RUNTIME_DIR/vuel")" = "$(id -u)" ] || fail "socket not owned by the user"

[ "$(second "b b.txt" a.txt)" = 0 ] || fail "a second start that handed a file over did not exit 0"
wait_for 20 grep -qF "command: \"$tmp/files/b b.txt\"" "$log" || fail "relative path not forwarded as absolute"
grep -qF "a.txt" "$log" && fail "only the first path is used"
wait_for 20 shown "b b.txt" || fail "forwarded file not previewed"
[ "$(second "$tmp/missing.txt")" = 1 ] || fail "a second start with a missing file did not exit 1"
wait_for 20 grep -qF "notice: \"Notice\" \"$tmp/missing.txt not found.\"" "$log" || fail "no not-found notice"
second >/dev/null
wait_for 20 grep -qF 'notice: "Notice" "Application is already running."' "$log" || fail "no already-running notice"

# Another user can neither reach nor take over the instance.
if id nobody >/dev/null 2>&1 && command -v runuser >/dev/null; then
  chmod 755 "$tmp" "$tmp/files"
  runuser -u nobody -- env XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" HOME=/nonexistent QT_QPA_PLATFORM=offscreen \
    timeout 5 "$VUEL_BUILD/vuel" "$tmp/files/a.txt" >/dev/null 2>&1 || true
  sleep 0.5 # nothing may arrive: a short look
  grep -qF "command: \"$tmp/files/a.txt\"" "$log" && fail "another user reached the instance"
  test -S "$XDG_RUNTIME_DIR/vuel" || fail "another user removed the socket"
fi

# A socket file left by an instance that died does not stop the next one.
kill -9 "${pids[0]}"; wait "${pids[0]}" 2>/dev/null || true
test -S "$XDG_RUNTIME_DIR/vuel" || fail "expected a stale socket file"
rm -f "$log"
start_instance
[ "$(second "$tmp/files/a.txt")" = 0 ] || fail "no forwarding after a stale socket"
wait_for 20 grep -qF "command: \"$tmp/files/a.txt\"" "$log" || fail "new instance did not take over"

# A first start with a path previews nothing; "log" with another argument logs nothing.
kill "${pids[1]}"; wait "${pids[1]}" 2>/dev/null || true
mkdir "$tmp/quiet"
rm -f "$XDG_RUNTIME_DIR/vuel"
(cd "$tmp/quiet" && exec "$VUEL_BUILD/vuel" log "$tmp/files/a.txt") & pids+=($!)
wait_for 30 test -S "$XDG_RUNTIME_DIR/vuel" || fail "no instance with arguments"
sleep 1 # no log and no preview may come: a short look
[ -e "$tmp/quiet/vuel.log" ] && fail "\"log\" with another argument wrote a log"
hidden a.txt || fail "a first start previewed its argument"

# Without a private runtime folder the socket goes in a folder of the user's own.
kill "${pids[2]}"; wait "${pids[2]}" 2>/dev/null || true
own="${TMPDIR:-/tmp}/vuel-$(id -u)"
rm -rf "$own"
(unset XDG_RUNTIME_DIR; cd "$tmp" && exec "$VUEL_BUILD/vuel") & pids+=($!)
wait_for 30 test -S "$own/vuel" || fail "no socket in $own"
[ "$(stat -c %a "$own")" = 700 ] || fail "$own is not private"
echo PASS
