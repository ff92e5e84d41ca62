#!/usr/bin/env bash
# Renders the PNG sizes of the program icon from quillmart.svg. Run by hand
# after changing the drawing (needs rsvg-convert, Debian package librsvg2-bin);
# the PNGs are kept in the repository so a build needs no renderer.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" quillmart.svg -o "quillmart-$size.png"
done
