#!/bin/bash
# Draws the program's icons with ImageMagick: the program icon (a fuel pump
# beside a table), the Import icon (an arrow into the handheld) and the
# Export icon (an arrow out to a table).  Run by hand when an image changes;
# the .ico files it writes beside it are what the build uses.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Each image is drawn once at 256 px from the drawing arguments gathered in
# args, and scaled to the sizes Windows asks for.
args=()
draw() {
    local name=$1
    convert -size 256x256 xc:none "${args[@]}" "$tmp/$name.png"
    local sizes=()
    for s in 16 32 48 64; do
        convert "$tmp/$name.png" -resize ${s}x${s} "$tmp/$name-$s.png"
        sizes+=("$tmp/$name-$s.png")
    done
    convert "${sizes[@]}" "$name.ico"
    args=()
}

# A table at x: a white sheet with a green heading row and grid lines.
table() {
    local x=$1
    args+=(-fill white -stroke '#2e5e2e' -strokewidth 8 -draw "roundrectangle $x,70 $((x + 100)),230 10,10"
           -fill '#3c8d3c' -stroke none -draw "rectangle $((x + 4)),74 $((x + 96)),110"
           -stroke '#2e5e2e' -strokewidth 5 -draw "line $((x + 4)),150 $((x + 96)),150"
           -draw "line $((x + 4)),190 $((x + 96)),190")
}
# A handheld at x: a dark body with a light screen and two buttons.
handheld() {
    local x=$1
    args+=(-fill '#34495e' -stroke none -draw "roundrectangle $x,24 $((x + 100)),232 16,16"
           -fill '#d7efd1' -draw "rectangle $((x + 14)),44 $((x + 86)),160"
           -fill '#95a5a6' -draw "circle $((x + 28)),196 $((x + 28)),184"
           -draw "circle $((x + 72)),196 $((x + 72)),184")
}
# An arrow pointing right, from x to x + 130.
arrow() {
    local x=$1 colour=$2
    args+=(-fill "$colour" -stroke '#1b2631' -strokewidth 4
           -draw "polygon $x,108 $((x + 70)),108 $((x + 70)),70 $((x + 130)),128 $((x + 70)),186 $((x + 70)),148 $x,148")
}

# The program: a fuel pump with its hose, beside a table.
args+=(-fill '#c0392b' -stroke none -draw 'roundrectangle 8,40 112,236 14,14'
       -fill '#f4f4f4' -draw 'rectangle 26,62 94,120'
       -fill '#7f8c8d' -draw 'rectangle 0,222 124,250'
       -stroke '#2c3e50' -strokewidth 10 -fill none -draw 'polyline 112,90 134,90 134,200 146,200')
table 150
draw RTImportExport
# Import: from a table into the handheld.
table 4
handheld 150
arrow 60 '#1f78d1'
draw Import
# Export: from the handheld out to a table.
handheld 4
table 150
arrow 60 '#e67e22'
draw Export
