#!/usr/bin/env bash
# The document viewer as a user meets it: a text PDF's first page as a reference renderer
# (pdftoppm) draws it, and a converted DOCX, XLSX and ODT. (Zooming, forms, links and locked PDFs:
# pdfview_test; failures shown on the information panel: pdfwnd_test; no LibreOffice left running: converter_test.sh.)
set -euo pipefail
source "$(dirname "$0")/../lib.sh"
printf '[General]\nshow_welcome=false\ndisplay_controls=true\n' > "$XDG_CONFIG_HOME/Keplo/Vuel.conf"
bash "$VUEL_SOURCE/tests/pdf/make-documents" "$tmp/files"
# The converter's throw-away LibreOffice profiles land in the test's own folder.
export TMPDIR="$tmp/tmp"; mkdir -p "$TMPDIR"

# A LibreOffice conversion on a busy machine takes tens of seconds.
preview() { preview_with "$VUEL_BUILD/vuel" "$tmp/files/$1" 180; }
# Pages are drawn by threads after the load is logged.
picture() { still "$2" on_screen "$(shown "$1")" || fail "$1 keeps changing"; }
# How far, 0 (same) to 1, the best match of picture $2 is within 30 px of where the page's
# heading belongs in screenshot $1 (the page centred below the title bar; searching the whole
# screenshot takes minutes).
match() {
  convert "$1" -crop 360x160+140+80 +repage "$tmp/near.png"
  { compare -metric RMSE -subimage-search "$tmp/near.png" "$2" null: 2>&1 || true; } |
    sed -n 's/.*(\([0-9.e-]*\)).*/\1/p' | head -1
}
close_enough() { awk -v d="$1" 'BEGIN { exit !(d < 0.08) }'; }

# The screen has 100 dpi and the page opens at its actual size: the reference at 100 dpi too.
pdftoppm -r 100 -f 1 -l 1 -png "$tmp/files/text.pdf" "$tmp/reference"
convert "$tmp"/reference*.png -crop 300x100+40+40 +repage "$tmp/heading.png"
# measure SHOT: $d for text.pdf's page as it settles
d=
measure() { still "$1" on_screen "$(shown text.pdf)" && d=$(match "$1" "$tmp/heading.png") && [ -n "$d" ]; }
near() { measure "$1" && close_enough "$d"; }

start_instance
preview text.pdf
wait_for 60 near "$shots/pdf_text.png" || fail "the first page differs from pdftoppm's by $d"

# Office previews are off by default: the information panel. Switched on, a new instance
# converts them.
preview sample.docx
picture sample.docx "$shots/pdf_office_off.png"
grep -q 'sample.docx" 0 33' "$tmp/vuel.log" || fail "with office_support off a DOCX was not sent to the information panel"
preview sample.odt # known by its content type alone
grep -q 'sample.odt" 0 0' "$tmp/vuel.log" || fail "with office_support off an ODT was not sent to the information panel"
kill "${pids[-1]}"; wait "${pids[-1]}" 2>/dev/null || true; rm "$tmp/vuel.log"
printf '[General]\nshow_welcome=false\ndisplay_controls=true\noffice_support=true\n' > "$XDG_CONFIG_HOME/Keplo/Vuel.conf"
start_instance
for f in sample.docx sample.xlsx sample.odt; do
  preview $f
  picture $f "$shots/pdf_${f#*.}.png"
  grep -q "$f\" 5 33" "$tmp/vuel.log" || fail "with office_support on $f was not shown as a document"
done
echo "document viewer: ok"
