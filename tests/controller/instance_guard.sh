#!/usr/bin/env bash
# The running instance against peers on its local socket: a second start that finds it stopped
# with a full queue fails loudly and leaves it alone, silent connections freeze nothing and are
# dropped, and a flood of second starts brings few notices.
set -euo pipefail
source "$(dirname "$0")/../lib.sh"
log="$tmp/vuel.log"
sock="$XDG_RUNTIME_DIR/vuel"
printf 'a\n' > "$tmp/files/a.txt"
printf 'b\n' > "$tmp/files/b.txt"
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
echo PASS
