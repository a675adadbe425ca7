#!/usr/bin/env bash
# The office converter plugins/1syt on real LibreOffice: conversions, refusals, that no
# LibreOffice process outlives it however it ends, and that it fetches nothing a document links.
set -euo pipefail
: "${VUEL_BUILD:?run by ctest, or set VUEL_BUILD}" "${VUEL_SOURCE:?run by ctest, or set VUEL_SOURCE}"
conv=$VUEL_BUILD/plugins/1syt
[ -x "$conv" ] || { echo "FAIL: $conv not built"; exit 1; }

# LibreOffice's processes are found by this folder in their command lines, so it must appear
# there unencoded.
base=${TMPDIR:-/tmp}
[[ $base =~ ^[A-Za-z0-9/._-]+$ ]] || base=/tmp
tmp=$(mktemp -d "$base/vuel-1syt.XXXXXX")
export XDG_CACHE_HOME=$tmp/cache TMPDIR=$tmp/tmp
mkdir -p "$TMPDIR" "$tmp/in" "$tmp/out"
pids=()

leftovers() { pgrep -f -- "$tmp/" || true; }
cleanup() {
  local p
  for p in "${pids[@]}" $(leftovers); do kill -9 "$p" 2>/dev/null || true; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null || true; done
  rm -rf "$tmp"
}
trap cleanup EXIT

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
source "$(dirname "$0")/../tools/windows.sh" # wait_for
none_left() { [ -z "$(leftovers)" ]; }
expect_none_left() {
  wait_for 60 none_left || { fail "$1: processes left: $(ps -o pid=,pgid=,args= -p "$(leftovers | paste -sd,)" 2>/dev/null)"; return 0; }
}

docs=$tmp/docs
"$VUEL_SOURCE/tests/pdf/make-documents" "$docs" || { echo "FAIL: make-documents"; exit 1; }
# Keeps LibreOffice busy for far longer than any check below needs (half a minute or more).
seq -f "Vuel slow line %g: the quick brown fox jumps over the lazy dog." 300000 >"$tmp/in/slow.txt"

# convert NAME INPUT OUTPUT [ENV...]: runs the converter, keeping its exit code and stderr
convert() {
  local name=$1 in=$2 outp=$3; shift 3
  rc=0
  env "$@" "$conv" "$in" "$outp" 2>"$tmp/err.$name" || rc=$?
}

# ---- conversions ------------------------------------------------------------------------------
# One format is enough here: which formats LibreOffice reads is shown by the viewer's tests.
cp "$docs/sample.docx" "$tmp/in/Größe – Vuel sample v1.2.final.docx"
cp "$docs/sample.doc" "$tmp/in/-leading dash.doc"
mkdir -p "$tmp/out/Ausgabe ü"
# name | input | output | pages (0: any)
good_cases=(
  "docx|$docs/sample.docx|$tmp/out/docx.pdf|0"
  "bench20|$docs/bench20.docx|$tmp/out/bench20.pdf|20"
  "non-ascii|$tmp/in/Größe – Vuel sample v1.2.final.docx|$tmp/out/Ausgabe ü/Größe – Vuel.pdf|0"
)
for row in "${good_cases[@]}"; do
  IFS='|' read -r name in outp pages <<<"$row"
  convert "$name" "$in" "$outp"
  [ $rc -eq 0 ] || { fail "$name: exit $rc: $(cat "$tmp/err.$name")"; continue; }
  [ -s "$outp" ] || { fail "$name: no PDF"; continue; }
  [ ! -e "$outp.part" ] || fail "$name: $outp.part left behind"
  pdftotext "$outp" - 2>/dev/null | grep -q "Vuel office sample" || fail "$name: sample text missing"
  [ "$pages" -eq 0 ] || [ "$(pdfinfo "$outp" | awk '/^Pages:/ {print $2}')" = "$pages" ] || fail "$name: not $pages"
done
"$conv" "$docs/bench20.docx" "$tmp/out/again.pdf" || fail "again: exit $?"
[ -d "$XDG_CACHE_HOME/Vuel/lo-profile/user" ] || fail "no persistent profile under \$XDG_CACHE_HOME/Vuel"

# a relative input whose name starts with '-', and an output that replaces an old file
echo stale > "$tmp/out/dash.pdf"
(cd "$tmp/in" && "$conv" "-leading dash.doc" ../out/dash.pdf 2>"$tmp/err.dash") || fail "dash: $(cat "$tmp/err.dash")"
pdftotext "$tmp/out/dash.pdf" - 2>/dev/null | grep -q "Vuel office sample" || fail "dash: old output not replaced"

# ---- refusals ---------------------------------------------------------------------------------
cp "$docs/zip-as.pdf" "$tmp/in/zip.docx"
# name | input | environment
bad_cases=(
  "zero-byte|$docs/empty.docx|"
  "garbage|$docs/garbage.docx|"
  "missing|$tmp/in/no such file.docx|"
  "folder|$tmp/in|"
  "zip-named-docx|$tmp/in/zip.docx|"
  "no-libreoffice|$docs/sample.docx|VUEL_1SYT_SOFFICE=$tmp/no-soffice"
)
for row in "${bad_cases[@]}"; do
  IFS='|' read -r name in envs <<<"$row"
  outp=$tmp/out/bad-$name.pdf
  convert "$name" "$in" "$outp" ${envs:+"$envs"}
  [ $rc -ne 0 ] || fail "$name: exit 0"
  [ ! -e "$outp" ] && [ ! -e "$outp.part" ] || fail "$name: an output was written"
  [ "$(wc -l <"$tmp/err.$name")" -eq 1 ] || fail "$name: not one line on stderr: $(cat "$tmp/err.$name")"
done
rc=0; "$conv" 2>/dev/null || rc=$?
[ $rc -ne 0 ] || fail "no arguments: exit 0"

# ---- ends from outside ------------------------------------------------------------------------
office_running_in() { # office_running_in PGID: a LibreOffice process of that group runs
  local p
  for p in $(pgrep -f -- "UserInstallation=file://$tmp/" || true); do
    [ "$(ps -o pgid= -p "$p" | tr -d ' ')" = "$1" ] && return 0
  done
  return 1
}
group_of() { ps -o pgid= -p "$1" | tr -d ' '; }
is_leader() { [ "$(group_of "$1")" = "$1" ]; }
any_office() { pgrep -f -- "UserInstallation=file://$tmp/" >/dev/null; }

# name | start (setsid: own group, as the previewer starts it; plain: in this script's group) |
# what is killed | signal (INT and HUP reach the converter's one handler as TERM does)
kill_cases=(
  "group-term|setsid|group|TERM"
  "own-group-term|setsid|converter|TERM"
  "own-group-kill|setsid|converter|KILL"
  "shared-group-term|plain|converter|TERM"
  "shared-group-kill|plain|converter|KILL"
)
for row in "${kill_cases[@]}"; do
  IFS='|' read -r name start target sig <<<"$row"
  outp=$tmp/out/killed-$name.pdf
  launch=(); [ "$start" = plain ] || launch=(setsid)
  "${launch[@]}" "$conv" "$tmp/in/slow.txt" "$outp" 2>/dev/null &
  pid=$!; pids+=("$pid")
  if [ "$start" = setsid ]; then
    wait_for 60 is_leader "$pid" || fail "$name: not in a group of its own"
    wait_for 120 office_running_in "$pid" || fail "$name: LibreOffice not running in the converter's group"
  else
    wait_for 120 any_office || fail "$name: LibreOffice not running"
  fi
  if [ "$target" = group ]; then kill -"$sig" -- "-$pid"; else kill -"$sig" "$pid"; fi
  rc=0; { wait "$pid"; } 2>/dev/null || rc=$?
  [ $rc -ne 0 ] || fail "$name: exit 0"
  [ ! -e "$outp" ] && [ ! -e "$outp.part" ] || fail "$name: an output was written"
  expect_none_left "$name"
done

# A pipeline under job control: the converter leads the group, the other end is in it too and
# must live on when the converter cleans up.
pipeline() {
  set -m
  "$conv" "$tmp/in/slow.txt" "$tmp/out/pipe.pdf" 2>/dev/null | sleep 600 &
  local partner=$! leader
  leader=$(jobs -p)
  [ "$(group_of "$partner")" = "$leader" ] || { echo "not one group"; kill -9 "$partner"; return 1; }
  wait_for 120 office_running_in "$leader" || { echo "LibreOffice not running"; kill -9 "$partner"; return 1; }
  kill -TERM "$leader"
  wait_for 60 none_left_but "$partner" || { echo "converter or LibreOffice left"; kill -9 "$partner"; return 1; }
  kill -0 "$partner" 2>/dev/null || { echo "the other end of the pipeline was killed"; return 1; }
  kill -9 "$partner"
}
none_left_but() { [ "$(leftovers | grep -vx "$1" || true)" = "" ]; }
msg=$( { pipeline; } 2>/dev/null) || fail "pipeline: $msg"
expect_none_left pipeline

# ---- time limit -------------------------------------------------------------------------------
convert timeout "$tmp/in/slow.txt" "$tmp/out/timeout.pdf" VUEL_1SYT_TIMEOUT=1
[ $rc -ne 0 ] || fail "timeout: exit 0"
[ ! -e "$tmp/out/timeout.pdf" ] || fail "timeout: an output was written"
grep -q "did not finish" "$tmp/err.timeout" || fail "timeout: reason missing: $(cat "$tmp/err.timeout")"
# the converter waits for LibreOffice's end before it exits
none_left || fail "timeout: LibreOffice still running after the converter ended"
expect_none_left timeout

# ---- two at once: the second takes a throw-away profile ---------------------------------------
"$conv" "$docs/sample.docx" "$tmp/out/twin1.pdf" 2>"$tmp/err.twin1" & p1=$!; pids+=("$p1")
"$conv" "$docs/sample.xlsx" "$tmp/out/twin2.pdf" 2>"$tmp/err.twin2" & p2=$!; pids+=("$p2")
wait "$p1" || fail "twin1: $(cat "$tmp/err.twin1")"
wait "$p2" || fail "twin2: $(cat "$tmp/err.twin2")"
for t in twin1 twin2; do
  pdftotext "$tmp/out/$t.pdf" - 2>/dev/null | grep -q "Vuel office sample" || fail "$t: sample text missing"
done
expect_none_left twins
# while the shared profile is taken the converter neither waits nor touches it (the guard only
# turns a wait into a failure instead of a hang)
touch "$tmp/before-held"
timeout 600 flock "$XDG_CACHE_HOME/Vuel/lo-profile.lock" \
  "$conv" "$docs/sample.pptx" "$tmp/out/held.pdf" 2>"$tmp/err.held" || fail "held profile: $(cat "$tmp/err.held")"
pdftotext "$tmp/out/held.pdf" - 2>/dev/null | grep -q "Vuel office sample" || fail "held profile: sample text missing"
[ -z "$(find "$XDG_CACHE_HOME/Vuel/lo-profile" -newer "$tmp/before-held" -print -quit)" ] ||
  fail "held profile: the shared profile was used"
# ---- a linked remote picture: a server on this machine, named in the link, sees no request -----
mkdir -p "$tmp/www"; printf 'pixel' > "$tmp/www/pixel.png"
# started from its folder: a command line naming $tmp would count as a process left over
(cd "$tmp/www" && exec python3 -u -m http.server 0 --bind 127.0.0.1) >"$tmp/server.log" 2>&1 & pids+=($!)
wait_for 30 grep -q 'port [0-9]' "$tmp/server.log" || fail "the test server did not start"
port=$(grep -o 'port [0-9]*' "$tmp/server.log" | head -1 | cut -d' ' -f2)
curl -sf --max-time 30 "http://127.0.0.1:$port/pixel.png" >/dev/null || fail "the test server does not answer"
: > "$tmp/server.log"
ns() { printf 'xmlns:%s="urn:oasis:names:tc:opendocument:xmlns:%s:1.0" ' office office text text draw drawing \
  svg svg-compatible; }
cat > "$tmp/in/linked.fodt" <<DOC
<?xml version="1.0" encoding="UTF-8"?>
<office:document $(ns)xmlns:xlink="http://www.w3.org/1999/xlink" office:version="1.2"
 office:mimetype="application/vnd.oasis.opendocument.text">
<office:body><office:text><text:p>Linked<draw:frame draw:name="p" svg:width="2cm" svg:height="2cm" text:anchor-type="as-char">
<draw:image xlink:href="http://127.0.0.1:$port/pixel.png" xlink:type="simple" xlink:show="embed" xlink:actuate="onLoad"/>
</draw:frame></text:p></office:text></office:body></office:document>
DOC
"$conv" "$tmp/in/linked.fodt" "$tmp/out/linked.pdf" 2>"$tmp/err.linked" || fail "linked: $(cat "$tmp/err.linked")"
[ -s "$tmp/out/linked.pdf" ] || fail "linked: no PDF"
! grep -q pixel "$tmp/server.log" || fail "linked: the converter fetched the linked picture: $(cat "$tmp/server.log")"
[ -z "$(ls -A "$TMPDIR")" ] || fail "temporary folders left: $(ls -A "$TMPDIR")"

if [ $failures -ne 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "converter: all cases passed"
