#!/usr/bin/env bash
# Draws the program's own bitmaps: the splash screen (136), the Tip of the Day light bulb (102)
# and the application icon (128). Run from anywhere; writes the PNGs next to this script.
# Needs ImageMagick (/usr/bin/convert) and the DejaVu fonts.
set -euo pipefail
cd "$(dirname "$0")"
IM=/usr/bin/convert
png=(-depth 8 -strip -define png:exclude-chunks=date,time)

# A sheet of text with a quill across it; drawn at 32 x 32 for the icon and reused on the splash.
sheet_and_quill=(
    -stroke '#505050' -strokewidth 1 -fill white -draw "polygon 5,3 20,3 26,9 26,29 5,29"
    -fill '#dcdcdc' -draw "polygon 20,3 20,9 26,9"
    -stroke none -fill '#8a8a8a' -draw "rectangle 8,12 22,12" -draw "rectangle 8,16 22,16" -draw "rectangle 8,20 17,20"
    -stroke '#1c3f73' -fill '#3b78c4' -draw "polygon 29,1 24,4 17,12 13,19 12,22 15,20 21,15 26,9"
    -stroke '#f2f6fb' -strokewidth 1 -draw "line 28,2 13,21"
)
$IM -size 32x32 xc:none "${sheet_and_quill[@]}" "${png[@]}" PNG32:128.png

# The splash: pane-blue gradient, the icon enlarged, the name and what the program does.
$IM -size 420x240 gradient:'#cfeafe'-'#ffffff' \
    \( -size 128x128 xc:none -affine 4,0,0,4,0,0 "${sheet_and_quill[@]}" \) -geometry +24+56 -composite \
    -stroke none -font DejaVu-Sans-Bold -pointsize 44 -fill '#12325c' -annotate +170+112 'Quillary' \
    -font DejaVu-Sans -pointsize 16 -fill '#12325c' -annotate +172+142 'Version 2.1' \
    -pointsize 15 -fill '#30506f' -annotate +172+176 'Plain text in, PDF out,' \
    -annotate +172+196 'a whole folder at a time.' \
    -stroke '#12325c' -fill none -draw "rectangle 0,0 419,239" \
    "${png[@]}" PNG24:136.png

# The light bulb of the Tip of the Day heading, on white.
$IM -size 40x40 xc:white -strokewidth 1 \
    -stroke '#9c7a00' -fill '#ffe45c' -draw "circle 20,15 20,4" \
    -stroke '#9c7a00' -fill '#ffe45c' -draw "polygon 14,22 26,22 24,28 16,28" \
    -stroke none -fill '#fff7c0' -draw "circle 16,11 16,8" \
    -stroke '#505050' -fill '#a8a8a8' -draw "rectangle 16,28 24,34" \
    -stroke '#505050' -draw "line 16,30 24,30" -draw "line 16,32 24,32" \
    -stroke none -fill '#505050' -draw "rectangle 18,35 22,36" \
    "${png[@]}" PNG24:102.png

# The application icon in the sizes of the desktop's icon theme, drawn at each size rather than
# scaled from the 32-pixel bitmap, so that the large ones stay sharp.
for size in 16 24 32 48 64 128 256; do
    scale=$(echo "scale=4; $size / 32" | bc)
    $IM -size ${size}x${size} xc:none -affine $scale,0,0,$scale,0,0 "${sheet_and_quill[@]}" \
        "${png[@]}" PNG32:quillary-$size.png
done
