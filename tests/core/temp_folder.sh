#!/usr/bin/env bash
# The temporary folder belongs to one user. Two users convert a document of the same name at
# the same time, each into a folder only they can enter; where our folder's name was planted (a
# link to someone's files, a folder of another user) Vuel converts all the same elsewhere, and
# Quit leaves what was planted as it was.
set -euo pipefail
source "$(dirname "$0")/../lib.sh"
[ "$(id -u)" = 0 ] || { echo "SKIP: a second user needs root (runuser)"; exit 77; }
office_on() { printf '[General]\nshow_welcome=false\noffice_support=true\n' > "$1/Keplo/Vuel.conf"; }

# A minimal DOCX that LibreOffice reads, made without LibreOffice.
make_docx() {
  /usr/bin/python3 - "$1" <<'PY'
import sys, zipfile
w = 'xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"'
with zipfile.ZipFile(sys.argv[1], 'w') as z:
    z.writestr('[Content_Types].xml', '<?xml version="1.0"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"><Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/><Default Extension="xml" ContentType="application/xml"/><Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/></Types>')
    z.writestr('_rels/.rels', '<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="r1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/></Relationships>')
    z.writestr('word/document.xml', f'<?xml version="1.0"?><w:document {w}><w:body><w:p><w:r><w:t>Quarterly report</w:t></w:r></w:p></w:body></w:document>')
PY
}

# --- two users at once, with no runtime folder: the shared temp folder is all they have ---
shared=$(mktemp -d); chmod 755 "$shared"
trap 'cleanup; rm -rf "$shared"' EXIT
mkdir -m 1777 "$shared/tmp"
# The second user cannot enter our test folder, so it gets copies of the program and the document.
mkdir -p "$shared/bin/plugins" "$shared/nobody/Keplo"
cp "$VUEL_BUILD/vuel-snapshot" "$shared/bin/"; cp "$VUEL_BUILD/plugins/1syt" "$shared/bin/plugins/"
make_docx "$shared/sample.docx"
office_on "$shared/nobody"; office_on "$XDG_CONFIG_HOME"
chown -R nobody "$shared/nobody"
# Under the sanitizers the second user needs the known-leak list too, where it can read it.
cp "$VUEL_SOURCE/tests/lsan.supp" "$shared/"
lsan="LSAN_OPTIONS=suppressions=$shared/lsan.supp:print_suppressions=0"
snapshot_as_nobody() {
  runuser -u nobody -- env -i "$lsan" PATH=/usr/bin:/bin HOME="$shared/nobody" TMPDIR="$shared/tmp" QT_QPA_PLATFORM=offscreen \
    XDG_CONFIG_HOME="$shared/nobody" XDG_CACHE_HOME="$shared/nobody/cache" \
    "$shared/bin/vuel-snapshot" --timeout 240 "$shared/sample.docx" "$shared/nobody/shot.png"
}
snapshot_as_nobody > "$tmp/nobody.out" 2>&1 & nobody=$!; pids+=($nobody)
(unset XDG_RUNTIME_DIR; TMPDIR="$shared/tmp" QT_QPA_PLATFORM=offscreen \
  "$VUEL_BUILD/vuel-snapshot" --timeout 240 "$shared/sample.docx" "$tmp/root.png") > "$tmp/root.out" 2>&1 \
  || fail "root's conversion: $(cat "$tmp/root.out")"
wait "$nobody" || fail "nobody's conversion: $(cat "$tmp/nobody.out")"
for who in root nobody; do
  grep -q '^kind=MT_DOCUMENT' "$tmp/$who.out" || fail "$who's document was not shown as a document: $(cat "$tmp/$who.out")"
done
# Each user's converted document lies in a folder of their own that no one else may enter.
for who in root:0 nobody:65534; do
  folder="$shared/tmp/vuel-${who#*:}"
  [ "$(stat -c '%U %a' "$folder")" = "${who%%:*} 700" ] || fail "$folder: $(stat -c '%U %a' "$folder")"
  [ -s "$folder/Vuel/sample.pdf" ] || fail "no converted document in $folder/Vuel"
done
open=$(find "$shared/tmp" -mindepth 1 -maxdepth 1 ! -perm 700)
[ -z "$open" ] || fail "open to others in the shared folder: $open"

# --- a running instance whose folder's name was planted ---
mkdir -p "$tmp/victim"; echo keep > "$tmp/victim/keep.txt"
cp "$shared/sample.docx" "$tmp/files/"
mkdir -m 700 "$tmp/other"; chown nobody "$tmp/other"
for planted in link other-user; do
  rm -rf "$XDG_RUNTIME_DIR/Vuel" "$XDG_RUNTIME_DIR"/Vuel-*
  case $planted in
    link) ln -s "$tmp/victim" "$XDG_RUNTIME_DIR/Vuel" ;;
    other-user) mv "$tmp/other" "$XDG_RUNTIME_DIR/Vuel" ;;
  esac
  rm -f "$tmp/vuel.log"
  start_instance
  "$VUEL_BUILD/vuel" "$tmp/files/sample.docx" || true
  wait_for 240 grep -q 'sample.docx" 5 ' "$tmp/vuel.log" || fail "$planted: the document was not shown as a document"
  source "$VUEL_SOURCE/tests/tools/atspi.sh"
  instance=${pids[-1]}
  quit() { tray_menu; xdotool key q; ! kill -0 "$instance" 2>/dev/null; }
  wait_for 60 quit || fail "$planted: Quit from the tray did not end Vuel"
  wait "$instance" 2>/dev/null || true
  [ "$(ls "$tmp/victim")" = keep.txt ] || fail "$planted: the planted folder's files changed: $(ls "$tmp/victim")"
  [ -z "$(find "$XDG_RUNTIME_DIR" -maxdepth 1 -name 'Vuel-*')" ] || fail "$planted: our own folder was not removed at Quit"
done
[ -L "$XDG_RUNTIME_DIR/Vuel" ] || [ "$(stat -c %U "$XDG_RUNTIME_DIR/Vuel")" = nobody ] || fail "the planted name was changed"
echo "temporary folder: ok"
