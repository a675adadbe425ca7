#!/usr/bin/env bash
# Markdown in the real preview window with the real converter: a document shows its table and
# the picture beside it, and a converter that is missing or fails leaves the information panel.
# (Hostile pages that would reach a server or a file outside their folder: the page's own test,
# html_test, with raw HTML the converter would escape; what the converter lets through: mdconvert_test.)
set -euo pipefail
source "$(dirname "$0")/../lib.sh"
[ -x "$VUEL_BUILD/plugins/md" ] || fail "the md converter is not built"
# pixels COLOUR FILE: how many pixels of the picture have that colour
pixels() { convert "$2" -fuzz 8% -fill black +opaque "$1" -fill white -opaque "$1" -format '%[fx:round(mean*w*h)]' info:; }

doc="$tmp/files/doc"; mkdir -p "$doc"
convert -size 40x40 xc:red "$doc/red.png"
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
preview doc/readme.md
grep -q 'loading cost.*readme.md" 1 6' "$tmp/vuel.log" || fail "readme.md was not shown as markdown"
# The page draws its picture after the load is logged.
red=0
red_shown() { still "$shots/markdown_readme.png" import -window "$win" && red=$(pixels red "$shots/markdown_readme.png") && [ "$red" -ge 1500 ]; }
wait_for 30 red_shown || fail "the picture beside the document is not shown ($red red pixels)"
esc_closes readme.md

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
  preview_with "$app/vuel" "$doc/$case.md"
  wait_for 30 grep -q "loading cost.*$case.md\" 0 0" "$tmp/vuel.log" || fail "$case: no information panel"
  [ "$(grep -cF "$why" "$tmp/vuel.log" || true)" -gt "$before" ] || fail "$case: no '$why' in the log"
  esc_closes "$case.md"
done
echo PASS
