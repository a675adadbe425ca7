#!/usr/bin/env bash
# A document that links a remote picture converts without the converter asking for it: a server
# on this machine, named in the link, must see no request at all.
set -euo pipefail
: "${VUEL_BUILD:?run by ctest, or set VUEL_BUILD}"
tmp=$(mktemp -d)
server=
cleanup() { [ -z "$server" ] || kill "$server" 2>/dev/null || true; rm -rf "$tmp"; }
trap cleanup EXIT
export XDG_CACHE_HOME=$tmp/cache TMPDIR=$tmp
mkdir -p "$tmp/www"
printf 'pixel' > "$tmp/www/pixel.png"

python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$tmp/www" >>"$tmp/server.log" 2>&1 &
server=$!
for _ in $(seq 300); do grep -q 'port [0-9]' "$tmp/server.log" && break; sleep 0.1; done
port=$(grep -o 'port [0-9]*' "$tmp/server.log" | head -1 | cut -d' ' -f2)
[ -n "$port" ] || { echo "FAIL: the test server did not start"; exit 1; }
python3 -c "import sys, urllib.request; urllib.request.urlopen(sys.argv[1], timeout=30)" \
  "http://127.0.0.1:$port/pixel.png" || { echo "FAIL: the test server does not answer"; exit 1; }
: > "$tmp/server.log"

cat > "$tmp/linked.fodt" <<DOC
<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"
 xmlns:xlink="http://www.w3.org/1999/xlink" xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"
 office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.text">
<office:body><office:text><text:p>Linked<draw:frame draw:name="p" svg:width="2cm" svg:height="2cm" text:anchor-type="as-char">
<draw:image xlink:href="http://127.0.0.1:$port/pixel.png" xlink:type="simple" xlink:show="embed" xlink:actuate="onLoad"/>
</draw:frame></text:p></office:text></office:body></office:document>
DOC
"$VUEL_BUILD/plugins/1syt" "$tmp/linked.fodt" "$tmp/linked.pdf" || { echo "FAIL: the conversion failed"; exit 1; }
[ -s "$tmp/linked.pdf" ] || { echo "FAIL: no PDF"; exit 1; }
if grep -q 'pixel' "$tmp/server.log"; then
  echo "FAIL: the converter fetched the linked picture:"; cat "$tmp/server.log"; exit 1
fi
echo "PASS: converted, and the server saw no request"
