#!/usr/bin/env bash
# Markdown in the real preview window with the real converter: hostile documents reach no
# server and no file outside their folder, a good one shows its table and its picture, and a
# converter that is missing or fails leaves the information panel.
set -euo pipefail
source "$(dirname "$0")/../lib.sh"
[ -x "$VUEL_BUILD/plugins/md" ] || fail "the md converter is not built"
preview() { preview_with "$1" "$2"; }
close() { xdotool windowactivate --sync "$(shown "$1")" key Escape; wait_for 20 hidden "$1" || fail "Esc did not close $1"; }
# pixels COLOUR FILE: how many pixels of the picture have that colour
pixels() { convert "$2" -fuzz 8% -fill black +opaque "$1" -fill white -opaque "$1" -format '%[fx:round(mean*w*h)]' info:; }

# A server on the loopback that notes every connection, with its request line if one came.
cat > "$tmp/server.py" <<'PY'
import os, socketserver, sys
class Note(socketserver.BaseRequestHandler):
    def handle(self):
        self.request.settimeout(2)
        try:
            line = self.request.recv(4096).split(b"\r\n", 1)[0].decode("latin-1")
            self.request.sendall(b"HTTP/1.0 404 Not Found\r\nContent-Length: 0\r\n\r\n")
        except OSError:
            line = "(no request line)"
        open(sys.argv[1], "a").write(line + "\n")
server = socketserver.ThreadingTCPServer(("127.0.0.1", 0), Note)
open(sys.argv[2] + ".new", "w").write(str(server.server_address[1]))
os.rename(sys.argv[2] + ".new", sys.argv[2])
server.serve_forever()
PY
: > "$tmp/requests.log"
python3 "$tmp/server.py" "$tmp/requests.log" "$tmp/port" & pids+=($!)
wait_for 20 test -s "$tmp/port" || fail "no test server"
port=$(cat "$tmp/port"); net="http://127.0.0.1:$port"
curl -s "$net/self-check" >/dev/null || true
wait_for 20 grep -q self-check "$tmp/requests.log" || fail "the test server counts nothing"
: > "$tmp/requests.log"

doc="$tmp/files/doc"; mkdir -p "$doc"
convert -size 40x40 xc:red "$doc/red.png"
convert -size 40x40 xc:blue "$tmp/files/secret.png"
ln -s ../secret.png "$doc/link-out.png"
cat > "$doc/hostile.md" <<MD
# Hostile

<script>new Image().src = "$net/script"; document.title = "ran";</script>
<img src="$net/raw.png" onerror="new Image().src = '$net/onerror'">
<iframe src="$net/frame"></iframe>
<link rel=stylesheet href="$net/s.css">
<style>@import url("$net/import.css"); body { background: url("$net/bg.png"); }</style>
<meta http-equiv="refresh" content="0;url=$net/refresh">
<video src="$net/video" autoplay></video>

![remote]($net/x.png) ![scheme relative](//127.0.0.1:$port/relative.png) ![by reference][r]

[r]: $net/reference.png

<$net/autolink> [a link]($net/link)

![passwd](file:///etc/passwd) [passwd](file:///etc/passwd)
![out](../secret.png) ![absolute](file://$tmp/files/secret.png) ![linked](link-out.png)
<img src="../secret.png"> <img src="file:///etc/passwd">
MD
cat > "$doc/readme.md" <<'MD'
# Vuel sample

A quick **file previewer**: the text is *formatted* and `code` stands out.

| Kind | Shown as |
|------|----------|
| Markdown | page |

![a red square](red.png)
MD

start_instance
instance=${pids[-1]}
preview "$VUEL_BUILD/vuel" "$doc/hostile.md"
win=$(shown hostile.md)
eval "$(xdotool getwindowgeometry --shell "$win")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 3)) sleep 0.3 mousemove $((X + 100)) $((Y + 200))
sleep 2 # anything the page would fetch late: nothing may come, so a fixed pause
still "$shots/markdown_hostile.png" import -window "$win" || fail "hostile.md keeps changing"
grep -q 'loading cost.*hostile.md" 1 6' "$tmp/vuel.log" || fail "hostile.md was not shown as markdown"
[ ! -s "$tmp/requests.log" ] || fail "the page reached the server: $(cat "$tmp/requests.log")"
[ "$(pixels blue "$shots/markdown_hostile.png")" = 0 ] || fail "a picture outside the folder was shown"
close hostile.md

preview "$VUEL_BUILD/vuel" "$doc/readme.md"
win=$(shown readme.md)
grep -q 'loading cost.*readme.md" 1 6' "$tmp/vuel.log" || fail "readme.md was not shown as markdown"
# The page draws its picture after the load is logged.
red=0
red_shown() { still "$shots/markdown_readme.png" import -window "$win" && red=$(pixels red "$shots/markdown_readme.png") && [ "$red" -ge 1500 ]; }
wait_for 30 red_shown || fail "the picture beside the document is not shown ($red red pixels)"
[ ! -s "$tmp/requests.log" ] || fail "the page reached the server: $(cat "$tmp/requests.log")"
close readme.md

# The program's own folder decides the converter: a copy of the program without a working one.
kill "$instance"; wait "$instance" 2>/dev/null || true
app="$tmp/app"; mkdir -p "$app/plugins"; cp "$VUEL_BUILD/vuel" "$app/vuel"
mv "$tmp/vuel.log" "$tmp/vuel-first.log" # its start line is not the new instance's
(cd "$tmp" && exec "$app/vuel" log) & pids+=($!)
wait_for 30 grep -q 'tray: started' "$tmp/vuel.log" || fail "no running instance"
for case in missing not-runnable gives-up crashes; do
  case $case in
    missing) rm -f "$app/plugins/md"; why="plugins/md can not be found." ;;
    not-runnable) printf '#!/bin/sh\necho "<p>x</p>"\n' > "$app/plugins/md"; why="Can not run md." ;;
    gives-up) printf '#!/bin/sh\necho "md: cannot read" >&2\nexit 1\n' > "$app/plugins/md"; why="Parse file error." ;;
    crashes) printf '#!/bin/sh\nprintf "<p>half"\nkill -SEGV $$\n' > "$app/plugins/md"; why="Parse file error." ;;
  esac
  [ "$case" = not-runnable ] || chmod +x "$app/plugins/md" 2>/dev/null || true
  cp "$doc/readme.md" "$doc/$case.md"
  before=$(grep -cF "$why" "$tmp/vuel.log" || true)
  preview "$app/vuel" "$doc/$case.md"
  wait_for 30 grep -q "loading cost.*$case.md\" 0 0" "$tmp/vuel.log" || fail "$case: no information panel"
  [ "$(grep -cF "$why" "$tmp/vuel.log" || true)" -gt "$before" ] || fail "$case: no '$why' in the log"
  close "$case.md"
done
echo PASS
