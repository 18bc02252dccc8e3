#!/usr/bin/env bash
# Renders quellor.mvg into quellor.ico (16, 32, 48 and 256 pixels) with
# ImageMagick (Debian package imagemagick). The icon is checked in, so that a
# build needs no ImageMagick; run this after changing the drawing.
#
#   packaging/icon/render.sh [OUTPUT.ico]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
out="${1:-$here/quellor.ico}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# ImageMagick's policy on Debian forbids reading the drawing with @FILE, so
# the shell hands it over, without its comments.
convert -size 256x256 xc:none -draw "$(grep -v '^#' "$here/quellor.mvg")" -depth 8 \
  -define png:exclude-chunks=date,time "PNG32:$work/256.png"
sizes=()
for size in 16 32 48; do
  convert "$work/256.png" -filter Lanczos -resize "${size}x${size}" "$work/$size.png"
  sizes+=("$work/$size.png")
done
# The 256-pixel image is stored PNG-compressed, the small ones as bitmaps.
convert "${sizes[@]}" "$work/256.png" "$out"
identify "$out"
