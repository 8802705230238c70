#!/usr/bin/env bash
# Renders the menu's icon at the hicolor theme's usual sizes from vantrel.svg
# with librsvg (package librsvg2-bin) and strips them with ImageMagick 6, as
# resources/make-artwork.sh does its pictures; the Windows program's icon,
# vantrel.ico, holds the sizes Windows shows. The files are committed, so
# only run this after changing the drawing:
#   packaging/icons/make-icons.sh
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" vantrel.svg |
    convert png:- -depth 8 -strip -define png:exclude-chunks=date,time "vantrel-$size.png"
done
convert vantrel-16.png vantrel-24.png vantrel-32.png vantrel-48.png vantrel-64.png \
  vantrel-256.png vantrel.ico
identify vantrel-*.png vantrel.ico
