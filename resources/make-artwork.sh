#!/usr/bin/env bash
# Draws every picture in this folder from scratch with ImageMagick 6
# ("convert"). The images are committed, so only run this after changing it:
#   resources/make-artwork.sh
# Noise uses fixed seeds and time stamps are left out, so a re-run on the same
# ImageMagick gives the same files.
set -euo pipefail
cd "$(dirname "$0")"

bold=Liberation-Sans-Bold
regular=Liberation-Sans
yellow='rgb(249,239,107)'   # the scale strips' back colour on the window
clean=(-depth 8 -strip +set date:create +set date:modify)
png=(-define png:exclude-chunks=date,time)

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# --- Main window background, 700 x 525 ---------------------------------------
# A dark blue-grey instrument panel. The bottom strip stays darkest because
# the version and credit labels are bright green text straight on the picture.
convert -size 700x525 gradient:'#34404e'-'#141920' "$tmp/base.png"
# Brushed-metal grain: noise smeared sideways, mixed in faintly.
# Drawn wider and cropped, as the blur darkens the edge it starts from.
convert -size 780x525 xc:gray50 -seed 340 +noise Gaussian -colorspace Gray \
    -motion-blur 0x12+0 -gravity Center -crop 700x525+0+0 +repage -level 35%,65% \
    "$tmp/grain.png"
convert "$tmp/base.png" "$tmp/grain.png" -compose SoftLight -define compose:args=18 \
    -composite "$tmp/panel.png"
# Title plate across the free band above the graph, engraved lettering, and
# hairlines framing the control area.
convert "$tmp/panel.png" \
    -fill 'rgba(255,255,255,0.05)' -stroke 'rgba(255,255,255,0.10)' -strokewidth 1 \
    -draw 'roundrectangle 8,10 691,76 6,6' \
    -stroke 'rgba(0,0,0,0.35)' -draw 'line 9,77 690,77' \
    -stroke none \
    -font "$bold" -pointsize 30 -kerning 3 \
    -fill 'rgba(0,0,0,0.55)' -annotate +25+56 'VANTREL' \
    -fill '#8aa0b6' -annotate +24+55 'VANTREL' \
    -font "$regular" -pointsize 13 -kerning 1 \
    -fill 'rgba(0,0,0,0.55)' -gravity NorthEast -annotate +23+28 'PC LINK FOR THE ZM-340' \
    -fill '#7f93a8' -annotate +24+27 'PC LINK FOR THE ZM-340' \
    -fill '#66788b' -annotate +24+47 'ANTENNA ANALYZER' \
    -gravity NorthWest \
    -stroke 'rgba(255,255,255,0.07)' -draw 'line 8,497 691,497' \
    -stroke 'rgba(0,0,0,0.40)' -draw 'line 8,498 691,498' \
    -stroke none -fill 'rgba(0,0,0,0.25)' -draw 'rectangle 0,499 699,524' \
    "$tmp/background.png"
convert "$tmp/background.png" "${clean[@]}" -interlace Plane -sampling-factor 4:2:0 \
    -quality 90 background.jpg

# --- Window icon, 32 x 32, 16 colours ----------------------------------------
# A mast radiating over an SWR dip, drawn large and scaled down.
convert -size 128x128 xc:none \
    -fill '#23405f' -stroke '#9fc3e6' -strokewidth 4 -draw 'roundrectangle 4,4 123,123 22,22' \
    -fill none -stroke '#f2e35b' -strokewidth 9 \
    -draw 'bezier 14,36 40,40 52,104 64,104' -draw 'bezier 64,104 76,104 88,40 114,36' \
    -stroke '#ffffff' -strokewidth 8 -draw 'line 64,22 64,96' \
    -strokewidth 6 -draw 'line 46,30 82,30' -draw 'line 52,46 76,46' \
    -stroke '#e0473c' -fill '#e0473c' -strokewidth 1 -draw 'circle 64,18 64,9' \
    "$tmp/icon-large.png"
convert "$tmp/icon-large.png" -filter Lanczos -resize 32x32 -dither None -colors 16 \
    "${clean[@]}" "${png[@]}" PNG8:icon.png

# --- SWR strip beside the graph, 33 x 313 ------------------------------------
# Nothing is drawn into it at run time, so it carries its own caption.
convert -size 33x313 xc:"$yellow" \
    -fill none -stroke 'rgb(196,180,60)' -draw 'rectangle 0,0 32,312' \
    -stroke none -fill 'rgb(200,0,0)' -font "$bold" -pointsize 15 -kerning 4 \
    -gravity Center -annotate 270x270+0+0 'SWR' \
    "${clean[@]}" "${png[@]}" picSWR.png

# --- Ohm strip beside the graph, 50 x 313 ------------------------------------
# The program prints the ohm labels from y = 20 to 285 at x = 0, so only the
# frame and a unit mark below them.
convert -size 50x313 xc:"$yellow" \
    -fill none -stroke 'rgb(196,180,60)' -draw 'rectangle 0,0 49,312' \
    -stroke 'rgb(214,200,80)' -draw 'line 8,296 41,296' \
    -stroke none -fill 'rgb(90,80,20)' -font "$bold" -pointsize 11 \
    -gravity South -annotate +0+2 'Ω' \
    "${clean[@]}" "${png[@]}" picRes.png

# --- About boxes' banner, 268 x 82 -------------------------------------------
convert -size 268x82 gradient:'#3a4858'-'#18202a' \
    -fill none -stroke 'rgba(242,227,91,0.55)' -strokewidth 2 \
    -draw 'bezier 150,20 190,22 200,66 214,66' -draw 'bezier 214,66 228,66 238,22 262,20' \
    -stroke 'rgba(255,255,255,0.12)' -strokewidth 1 \
    -draw 'line 150,66 262,66' -draw 'line 150,43 262,43' \
    -stroke none -font "$bold" -pointsize 30 -kerning 1 \
    -fill 'rgba(0,0,0,0.6)' -annotate +13+44 'Vantrel' \
    -fill '#e8eef5' -annotate +12+43 'Vantrel' \
    -font "$bold" -pointsize 12 -kerning 2 \
    -fill '#18202a' -draw 'roundrectangle 12,52 70,68 3,3' \
    -fill '#f2e35b' -annotate +16+65 'ZM-340' \
    -font "$regular" -pointsize 11 -kerning 0 \
    -fill '#9fb2c6' -annotate +78+65 'antenna analyzer' \
    "${clean[@]}" banner.gif

identify background.jpg icon.png picSWR.png picRes.png banner.gif
