#!/bin/sh
# Renders packaging/icons/palcomir.svg into the PNG sizes of the hicolor
# theme. The PNGs are committed, so the build needs no SVG renderer; run this
# after changing the SVG (needs rsvg-convert from librsvg2-bin).
set -e
cd "$(dirname "$0")/../../packaging/icons"
for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert -w $size -h $size palcomir.svg -o palcomir-$size.png
done
