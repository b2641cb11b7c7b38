#!/usr/bin/env bash
# Renders the program's icon at the usual hicolor sizes from its SVG (needs rsvg-convert, from
# Debian's librsvg2-bin); the PNG files are committed, so building needs no SVG renderer.
set -eu
here=$(dirname "$0")
mkdir -p "$here/icons"
for size in 16 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" "$here/../vorlan-kidney.svg" -o "$here/icons/$size.png"
done
# The Windows program's icon: the same PNGs in one .ico file (16 to 256 pixels).
python3 - "$here/icons" "$here/../../platforms/win32/vorlan-kidney.ico" <<'PY'
import struct, sys
sizes = [16, 32, 48, 64, 128, 256]
images = [open(f"{sys.argv[1]}/{s}.png", "rb").read() for s in sizes]
out = struct.pack("<HHH", 0, 1, len(images))
offset = 6 + 16 * len(images)
for size, data in zip(sizes, images):
    out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
    offset += len(data)
open(sys.argv[2], "wb").write(out + b"".join(images))
PY
