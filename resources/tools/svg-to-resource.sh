#!/usr/bin/env bash
# Draws one SVG source into the bitmap or icon file that a resource script names.
# Usage: svg-to-resource.sh bmp WIDTHxHEIGHT BACKGROUND source.svg out.bmp
#        svg-to-resource.sh ico SIZE[,SIZE...] - source.svg out.ico
#        svg-to-resource.sh cur SIZE HOTX,HOTY source.svg out.cur
set -euo pipefail
kind=$1 sizes=$2 background=$3 source=$4 out=$5
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

case $kind in
  bmp)
    width=${sizes%x*} height=${sizes#*x}
    rsvg-convert -w "$width" -h "$height" -b "$background" -o "$work/image.png" "$source"
    # BMP3 with no alpha: a plain 24-bit DIB, what LoadBitmapW and STM_SETIMAGE expect.
    convert "$work/image.png" -background "$background" -alpha remove -alpha off \
      -type TrueColor "BMP3:$out"
    ;;
  ico)
    pngs=()
    IFS=, read -ra list <<<"$sizes"
    for size in "${list[@]}"; do
      rsvg-convert -w "$size" -h "$size" -o "$work/$size.png" "$source"
      pngs+=("$work/$size.png")
    done
    # 32-bit images with alpha, stored as DIBs (not PNG) so every loader reads them.
    icotool -c -o "$out" "${pngs[@]}"
    ;;
  cur)
    rsvg-convert -w "$sizes" -h "$sizes" -o "$work/cursor.png" "$source"
    icotool -c --cursor --hotspot-x="${background%,*}" --hotspot-y="${background#*,}" \
      -o "$out" "$work/cursor.png"
    ;;
  *)
    echo "unknown image kind: $kind" >&2; exit 1 ;;
esac
