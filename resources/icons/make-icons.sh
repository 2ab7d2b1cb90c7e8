#!/usr/bin/env bash
# Draws the six 32 x 32 button icons of the file-list pane. Run from anywhere; writes the PNGs
# next to this script. Needs ImageMagick (/usr/bin/convert).
set -euo pipefail
cd "$(dirname "$0")"
IM=/usr/bin/convert
outline='#3a2a05'

# Open File: an open yellow folder with a sheet of paper in it.
$IM -size 32x32 xc:none -strokewidth 1 \
    -stroke "$outline" -fill '#d9a21b' -draw "polygon 3,8 11,8 13,10 25,10 25,26 3,26" \
    -stroke '#606060' -fill white -draw "polygon 8,5 21,5 21,22 8,22" \
    -stroke none -fill '#9a9a9a' -draw "rectangle 10,9 19,9" -draw "rectangle 10,12 19,12" -draw "rectangle 10,15 17,15" \
    -stroke "$outline" -fill '#f6c945' -draw "polygon 3,26 7,14 29,14 25,26" \
    -depth 8 -strip -define png:exclude-chunks=date,time PNG32:open_file.png

# Import Directory: a closed folder with a green arrow going into it.
$IM -size 32x32 xc:none -strokewidth 1 \
    -stroke "$outline" -fill '#d9a21b' -draw "polygon 3,10 11,10 13,12 28,12 28,27 3,27" \
    -stroke "$outline" -fill '#f6c945' -draw "rectangle 3,15 28,27" \
    -stroke '#14561b' -fill '#37b24d' -draw "polygon 13,3 19,3 19,11 23,11 16,19 9,11 13,11" \
    -depth 8 -strip -define png:exclude-chunks=date,time PNG32:import_directory.png

# Remove Selected: a sheet of paper struck out by a red cross.
$IM -size 32x32 xc:none -strokewidth 1 \
    -stroke '#606060' -fill white -draw "polygon 6,3 20,3 26,9 26,28 6,28" \
    -fill '#dcdcdc' -draw "polygon 20,3 20,9 26,9" \
    -stroke none -fill '#9a9a9a' -draw "rectangle 9,8 17,8" -draw "rectangle 9,11 22,11" -draw "rectangle 9,14 22,14" \
    -stroke '#8a1010' -strokewidth 5 -draw "line 10,15 25,28" -draw "line 25,15 10,28" \
    -stroke '#e03131' -strokewidth 3 -draw "line 10,15 25,28" -draw "line 25,15 10,28" \
    -depth 8 -strip -define png:exclude-chunks=date,time PNG32:remove_selected.png

# Clear All Selected: a list whose three check boxes are all empty.
clear_args=()
for y in 5 13 21; do
    clear_args+=(-stroke '#1c4f8c' -strokewidth 1 -fill white -draw "rectangle 3,$y 9,$((y + 6))")
    clear_args+=(-stroke none -fill '#5c7c9c' -draw "rectangle 13,$((y + 2)) 28,$((y + 4))")
done
$IM -size 32x32 xc:none "${clear_args[@]}" -depth 8 -strip -define png:exclude-chunks=date,time PNG32:clear_all_selected.png

# Start Convert: a green round button with a white play triangle.
$IM -size 32x32 xc:none -strokewidth 1 \
    -stroke '#14561b' -fill '#2f9e44' -draw "circle 16,16 16,3" \
    -stroke none -fill white -draw "polygon 12,9 12,23 24,16" \
    -depth 8 -strip -define png:exclude-chunks=date,time PNG32:start_convert.png

# Stop Convert: a red round button with a white square.
$IM -size 32x32 xc:none -strokewidth 1 \
    -stroke '#6e0f0f' -fill '#d62828' -draw "circle 16,16 16,3" \
    -stroke none -fill white -draw "rectangle 11,11 21,21" \
    -depth 8 -strip -define png:exclude-chunks=date,time PNG32:stop_convert.png
