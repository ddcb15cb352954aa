#!/usr/bin/env bash
# Draws the PNG sizes of Ordwell's icon from data/icons/ordwell.svg into
# data/icons/<size>x<size>/ordwell.png. Run it after changing the SVG; it
# needs rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/.."
for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "data/icons/${size}x${size}"
    rsvg-convert -w "$size" -h "$size" data/icons/ordwell.svg -o "data/icons/${size}x${size}/ordwell.png"
done
