#!/bin/sh
# Regenerates the application icon PNGs (16, 32 and 48 pixels, drawn at 192 and scaled
# down; 256 pixels, drawn at its own size for the desktop's large views) with ImageMagick.
set -e
cd "$(dirname "$0")/../packaging/icons"
draw() {   # canvas size, scale of the 192-pixel drawing, convert's output arguments...
    size=$1 k=$2
    shift 2
    convert -size "${size}x${size}" xc:none \
        -fill '#3273a1' -draw "scale $k,$k roundrectangle 8,8 184,184 40,40" \
        -fill '#eff2f3' -draw "scale $k,$k rectangle 64,44 136,68" -draw "scale $k,$k rectangle 64,44 88,152" -draw "scale $k,$k rectangle 64,88 124,110" \
        -fill '#ffffff40' -draw "scale $k,$k roundrectangle 20,16 172,80 30,30" "$@"
}
for px in 16 32 48; do
    draw 192 1 -resize ${px}x${px} -strip "firmhold_${px}.png"
done
draw 256 1.3333333 -depth 8 -strip firmhold_256.png

# The Windows icon: 48, 32 and 16 pixels, each at 32 bits (with alpha) and as 8- and 4-bit
# palette images (with a 1-bit mask) for shells and displays with fewer colours.
set --
for px in 48 32 16; do
    set -- "$@" "firmhold_${px}.png" \
        \( "firmhold_${px}.png" -channel A -threshold 50% +channel -colors 255 \) \
        \( "firmhold_${px}.png" -channel A -threshold 50% +channel -colors 15 \)
done
convert "$@" firmhold.ico
