#!/usr/bin/env bash
# Renders the menu's icon at the hicolor theme's usual sizes from vantrel.svg
# with librsvg (package librsvg2-bin) and strips them with ImageMagick 6, as
# resources/make-artwork.sh does its pictures. The PNG files are committed,
# so only run this after changing the drawing:
#   packaging/icons/make-icons.sh
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" vantrel.svg |
    convert png:- -depth 8 -strip -define png:exclude-chunks=date,time "vantrel-$size.png"
done
identify vantrel-*.png
