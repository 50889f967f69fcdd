#!/bin/sh
# Regenerates the application icon PNGs (16, 32 and 48 pixels) with ImageMagick.
set -e
cd "$(dirname "$0")/../packaging/icons"
for size in 16 32 48; do
    convert -size 192x192 xc:none \
        -fill '#3273a1' -draw 'roundrectangle 8,8 184,184 40,40' \
        -fill '#eff2f3' -draw 'rectangle 64,44 136,68' -draw 'rectangle 64,44 88,152' -draw 'rectangle 64,88 124,110' \
        -fill '#ffffff40' -draw 'roundrectangle 20,16 172,80 30,30' \
        -resize ${size}x${size} -strip "firmhold_${size}.png"
done
