#!/usr/bin/env bash
# Two real processes meet over the local socket: forwarding, the notices, a stale socket
# file, and a socket no other user can reach. Against peers on it: a second start that finds the
# instance stopped with a full queue fails loudly and leaves it alone, silent connections freeze
# nothing and are dropped, and a flood of second starts brings few notices.
set -euo pipefail
source "$(dirname "$0")/../lib.sh"
log="$tmp/vuel.log"
printf 'a\n' > "$tmp/files/a.txt"
printf 'b\n' > "$tmp/files/b b.txt"
printf 'b\n' > "$tmp/files/b.txt"
second() { local rc=0; (cd "$tmp/files" && "$VUEL_BUILD/vuel" "$@") || rc=$?; echo $rc; }
sock="$XDG_RUNTIME_DIR/vuel"
count() { grep -cF -- "$1" "$log" || true; }
at_least() { [ "$(count "$1")" -ge "$2" ]; }
# peers MODE N: N connections to the socket, held open until killed. MODE fill: until the
# queue takes no more; idle: N silent ones; flood: N second starts that each name a missing file.
peers() {
  python3 - "$sock" "$@" <<'PY' &
import os, socket, struct, sys, time
path, mode, n = sys.argv[1], sys.argv[2], int(sys.argv[3])
held = []
for i in range(n):
    s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    s.setblocking(False)
    try:
        s.connect(path)
    except BlockingIOError:
        break  # the queue is full
    if mode == "flood":
        name = ("/nonexistent/missing-%d" % i).encode("utf-16-be")
        s.setblocking(True)
        s.sendall(struct.pack(">II", 1, len(name)) + name)
        s.close()
    else:
        held.append(s)
open(os.environ["tmp"] + "/peers-" + mode, "w").write(str(len(held)))
time.sleep(3600)
PY
  pids+=($!)
}
export tmp

start_instance
pid=${pids[-1]}
mode=$(stat -c %a "$sock")
[ $((8#$mode & 8#077)) -eq 0 ] || fail "socket mode $mode lets others in"
[ "$(stat -c %u "$sock")" = "$(id -u)" ] || fail "socket not owned by the user"

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
  test -S "$sock" || fail "another user removed the socket"
fi

inode=$(stat -c %i "$sock")
# A stopped instance whose queue is full: the second start gives up, says so, and exits.
kill -STOP "$pid"
peers fill 100000
wait_for 60 test -s "$tmp/peers-fill" || fail "the queue did not fill"
(rc=0; "$VUEL_BUILD/vuel" "$tmp/files/a.txt" 2> "$tmp/second.err" || rc=$?; echo $rc > "$tmp/second.rc") & pids+=($!)
wait_for 120 test -s "$tmp/second.rc" || fail "the second start did not end: a second instance?"
[ "$(cat "$tmp/second.rc")" != 0 ] || fail "the second start reported success"
grep -q "does not answer" "$tmp/second.err" || fail "no message: $(cat "$tmp/second.err")"
[ "$(stat -c %i "$sock")" = "$inode" ] || fail "the live instance's socket was replaced"
kill -CONT "$pid"
kill "${pids[-2]}"
[ "$("$VUEL_BUILD/vuel" "$tmp/files/a.txt"; echo $?)" = 0 ] || fail "no forwarding once the instance goes on"
wait_for 60 shown a.txt || fail "a.txt not shown once the instance goes on"
# a fresh instance for each case below, with a log of its own
restart() { kill -9 "$pid"; wait "$pid" 2>/dev/null || true; rm -f "$log"; start_instance; pid=${pids[-1]}; }
restart

# Silent peers hold no one up: a second start behind them is previewed before they are dropped,
# and they bring no notice.
peers idle 5
wait_for 60 at_least "instance: connection" 5 || fail "the silent peers were not taken"
[ "$("$VUEL_BUILD/vuel" "$tmp/files/b.txt"; echo $?)" = 0 ] || fail "the second start behind silent peers failed"
wait_for 60 grep -qF "command: \"$tmp/files/b.txt\"" "$log" || fail "b.txt not forwarded"
[ "$(count "instance: dropped a silent")" = 0 ] || fail "the silent peers held up the forwarded file"
wait_for 60 shown b.txt || fail "b.txt not shown"
wait_for 120 at_least "instance: dropped a silent" 5 || fail "silent peers were not dropped"
[ "$(count 'notice: "Notice"')" = 0 ] || fail "a silent peer brought a notice"
restart

# A flood of second starts: a notice at most every second, the latest held back to the next.
peers flood 40
handled() { [ $(($(count "missing-") + $(count "refused a connection"))) -ge 40 ]; }
wait_for 120 handled || fail "the flood was not handled"
notices=$(count 'notice: "Notice" "/nonexistent/missing-')
[ "$notices" -ge 1 ] && [ "$notices" -le 4 ] || fail "$notices notices for a flood of 40"
[ "$("$VUEL_BUILD/vuel" "$tmp/files/a.txt"; echo $?)" = 0 ] || fail "no forwarding after the flood"
wait_for 60 shown a.txt || fail "a.txt not shown after the flood"

# A socket file left by an instance that died does not stop the next one.
kill -9 "$pid"; wait "$pid" 2>/dev/null || true
test -S "$sock" || fail "expected a stale socket file"
rm -f "$log"
start_instance
pid=${pids[-1]}
[ "$(second "$tmp/files/a.txt")" = 0 ] || fail "no forwarding after a stale socket"
wait_for 20 grep -qF "command: \"$tmp/files/a.txt\"" "$log" || fail "new instance did not take over"

# A first start with a path previews nothing; "log" with another argument logs nothing.
kill "$pid"; wait "$pid" 2>/dev/null || true
mkdir "$tmp/quiet"
rm -f "$sock"
(cd "$tmp/quiet" && exec "$VUEL_BUILD/vuel" log "$tmp/files/a.txt") & pids+=($!)
wait_for 30 test -S "$sock" || fail "no instance with arguments"
sleep 1 # no log and no preview may come: a short look
[ -e "$tmp/quiet/vuel.log" ] && fail "\"log\" with another argument wrote a log"
hidden a.txt || fail "a first start previewed its argument"

# Without a private runtime folder the socket goes in a folder of the user's own.
kill "${pids[-1]}"; wait "${pids[-1]}" 2>/dev/null || true
own="${TMPDIR:-/tmp}/vuel-$(id -u)"
rm -rf "$own"
(unset XDG_RUNTIME_DIR; cd "$tmp" && exec "$VUEL_BUILD/vuel") & pids+=($!)
wait_for 30 test -S "$own/vuel" || fail "no socket in $own"
[ "$(stat -c %a "$own")" = 700 ] || fail "$own is not private"
echo PASS
