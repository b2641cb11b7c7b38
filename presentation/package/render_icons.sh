#!/usr/bin/env bash
# Renders the program's icon at the usual hicolor sizes from its SVG (needs rsvg-convert, from
# Debian's librsvg2-bin); the PNG files are committed, so building needs no SVG renderer.
set -eu
here=$(dirname "$0")
mkdir -p "$here/icons"
for size in 16 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" "$here/../vorlan-kidney.svg" -o "$here/icons/$size.png"
done
