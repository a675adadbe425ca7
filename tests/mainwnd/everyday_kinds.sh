#!/usr/bin/env bash
# Everyday Linux files made by real tools reach the viewer of their kind, never the information
# panel: fonts of every format, pictures the image-format plug-ins read (with our own PSD decoder
# kept), compressed tarballs. Pictures of each go to test-shots/kinds/.
set -euo pipefail
source "$(dirname "$0")/../lib.sh"
unset DISPLAY
export QT_QPA_PLATFORM=offscreen
shots="$VUEL_BUILD/test-shots/kinds"; mkdir -p "$shots"
f="$tmp/files"
# expect FILE KIND SUBTYPE: the snapshot's line names them, and the picture is not blank
expect() {
  local out name; name=$(basename "$1")
  out=$("$VUEL_BUILD/vuel-snapshot" "$1" "$shots/$name.png" 2>"$tmp/err") || fail "$name: $(cat "$tmp/err")"
  [[ $out =~ ^kind=$2\ subtype=$3\  ]] || fail "$name: '$out', expected kind=$2 subtype=$3"
  [ "$(convert "$shots/$name.png" -format '%[fx:standard_deviation>0.05]' info:)" = 1 ] || fail "$name: blank picture"
}

# Fonts: TrueType, OpenType (CFF), a collection, WOFF and WOFF2 from the TrueType, Type 1 as
# binary and as ASCII, a bitmap PCF; a file that only looks like a font gets the panel.
cp /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf "$f/Sans Bold.ttf"
cp /usr/share/fonts/opentype/urw-base35/NimbusRoman-Italic.otf "$f/"
cp /usr/share/fonts/truetype/wqy/wqy-microhei.ttc "$f/"
cp "$f/Sans Bold.ttf" "$f/web.ttf"; sfnt2woff "$f/web.ttf"; woff2_compress "$f/web.ttf" >/dev/null
cp /usr/share/fonts/type1/urw-base35/NimbusSans-Regular.t1 "$f/NimbusSans.pfb"
t1ascii "$f/NimbusSans.pfb" "$f/NimbusSans.pfa"
zcat /usr/share/fonts/X11/misc/6x13.pcf.gz > "$f/6x13.pcf"
{ printf '\000\001\000\000\000\014'; head -c 4000 /dev/urandom; } > "$f/broken.ttf"
for font in "Sans Bold.ttf" NimbusRoman-Italic.otf wqy-microhei.ttc web.woff web.woff2 NimbusSans.pfb \
            NimbusSans.pfa 6x13.pcf; do
  expect "$f/$font" MT_FONT 34
done
expect "$f/broken.ttf" MT_UNKNOWN 0

# Pictures through the image-format plug-ins; a Photoshop file stays with our decoder (subtype 4).
convert -size 320x200 gradient:orange-navy "$f/source.png"
convert "$f/source.png" "$f/photo.heic"
convert "$f/source.png" "$f/photo.avif"
cjxl -q 90 "$f/source.png" "$f/photo.jxl" >/dev/null 2>&1
pfsin "$f/source.png" | pfsoutexr "$f/photo.exr"
convert "$f/source.png" "$f/layers.psd"
# OpenRaster and Krita files are ZIPs whose merged picture is what a viewer shows; made as the
# published layout says, with zip, the stored "mimetype" first.
for kind in ora:image/openraster kra:application/x-krita; do
  ext=${kind%%:*}; mkdir -p "$tmp/$ext"; printf '%s' "${kind#*:}" > "$tmp/$ext/mimetype"
  cp "$f/source.png" "$tmp/$ext/mergedimage.png"
  (cd "$tmp/$ext" && zip -q -X -0 "$f/drawing.$ext" mimetype && zip -q -X "$f/drawing.$ext" mergedimage.png)
done
for picture in photo.heic photo.avif photo.jxl photo.exr drawing.ora drawing.kra; do
  out=$("$VUEL_BUILD/vuel-snapshot" "$f/$picture" "$shots/$picture.png" 2>"$tmp/err") || fail "$picture: $(cat "$tmp/err")"
  [[ $out =~ ^kind=MT_PICTURE\ subtype=(3|5)\  ]] || fail "$picture: '$out'"
done
expect "$f/layers.psd" MT_PICTURE 4

# Compressed tarballs list the tar's members as a tree, with 64-bit sizes.
mkdir -p "$tmp/tree/src/lib"; printf 'x\n' > "$tmp/tree/src/lib/a.c"; printf 'y\n' > "$tmp/tree/README"
truncate -s 3G "$tmp/tree/disk.img"
# (the lister goes by content: .tgz and .txz would repeat .tar.gz and .tar.xz; .tzst is the
# short name the previewer is shown below)
for ball in tree.tar.gz tree.tar.bz2 tree.tar.xz tree.tzst; do
  tar -C "$tmp/tree" -caSf "$f/$ball" .
  listing=$("$VUEL_BUILD/plugins/unrar" v "$f/$ball") || fail "$ball: the lister failed"
  grep -q ' src/lib/a.c$' <<<"$listing" || fail "$ball: members not listed: $listing"
  grep -q '^ *3221225472 ' <<<"$listing" || fail "$ball: the 3 GiB member's size: $listing"
done
expect "$f/tree.tar.xz" MT_DIR 30
expect "$f/tree.tzst" MT_DIR 30
echo PASS
