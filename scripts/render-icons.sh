#!/usr/bin/env bash
# Renders the PNG icons in data/icons from the one drawing, data/icons/vokari.svg, at every size
# the desktop asks for. The PNGs are committed, so building needs none of this; run it after
# changing the drawing (and draw res/Icon.cpp's window icon from the same 16 x 16 grid).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
command -v rsvg-convert >/dev/null || { echo "needs rsvg-convert (apt-get install librsvg2-bin)" >&2; exit 1; }
for size in 16 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" "$here/data/icons/vokari.svg" -o "$here/data/icons/vokari-$size.png"
done
