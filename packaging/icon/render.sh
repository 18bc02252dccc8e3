#!/usr/bin/env bash
# Renders quellor.mvg into quellor.ico (16, 32, 48 and 256 pixels) with
# ImageMagick (Debian package imagemagick) and Python. The icon is checked
# in, so that a build needs no ImageMagick; run this after changing the
# drawing.
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
for size in 16 32 48; do
  convert "$work/256.png" -filter Lanczos -resize "${size}x${size}" -define png:exclude-chunks=date,time \
    "PNG32:$work/$size.png"
done
# The 16-pixel image is stored as a bitmap, the larger ones PNG-compressed
# (a third of the size in the program; every system since Vista reads them).
convert "$work/16.png" "$work/16.ico"
python3 - "$out" "$work/16.ico" "$work/32.png" "$work/48.png" "$work/256.png" <<'EOF_PY'
import struct, sys
out, small, *pngs = sys.argv[1:]
ico = open(small, "rb").read()
size, offset = struct.unpack("<II", ico[14:22])
frames = [(16, ico[offset:offset + size])]
frames += [(struct.unpack(">I", png[16:20])[0], png) for png in (open(p, "rb").read() for p in pngs)]
header = struct.pack("<HHH", 0, 1, len(frames))
at = 6 + 16 * len(frames)
for side, data in frames:
    header += struct.pack("<BBBBHHII", side % 256, side % 256, 0, 0, 1, 32, len(data), at)
    at += len(data)
open(out, "wb").write(header + b"".join(data for _, data in frames))
EOF_PY
identify "$out"
