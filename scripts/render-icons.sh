#!/usr/bin/env bash
# Renders the PNG icons in data/icons: the small ones (16 to 64 pixels) from the pixel drawing,
# data/icons/vokari.svg, and the large ones (128 and 256) from its smooth form,
# data/icons/vokari-large.svg, which is also the scalable icon. The PNGs are committed, so
# building needs none of this; run it after changing a drawing (and draw res/Icon.cpp's window
# icon from the same 16 x 16 grid).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
command -v rsvg-convert >/dev/null || { echo "needs rsvg-convert (apt-get install librsvg2-bin)" >&2; exit 1; }
for size in 16 32 48 64 128 256; do
  drawing=vokari.svg
  [ "$size" -lt 128 ] || drawing=vokari-large.svg
  rsvg-convert -w "$size" -h "$size" "$here/data/icons/$drawing" -o "$here/data/icons/vokari-$size.png"
done
