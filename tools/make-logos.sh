#!/usr/bin/env bash
# Draws the maker's two logo pictures of the main window:
#   logo-wide.png   605 x 134 (Image1, hidden in use)
#   logo-badge.png  668 x 261 (Image2, shown scaled into the command section)
# Needs: imagemagick librsvg2-bin tango-icon-theme fonts-dejavu-core
set -euo pipefail
out="$(cd "$(dirname "$0")/../resources/logos" && pwd)"
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
light=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
disc=/usr/share/icons/Tango/scalable/devices/media-optical.svg
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

rsvg-convert -w 110 -h 110 "$disc" -o "$tmp/disc110.png"
rsvg-convert -w 200 -h 200 "$disc" -o "$tmp/disc200.png"

convert -size 605x134 gradient:'#1d4f91'-'#3d7fd1' \
    "$tmp/disc110.png" -geometry +14+12 -composite \
    -font "$font" -pointsize 52 -fill white -annotate +140+72 'Quenbrook' \
    -font "$light" -pointsize 22 -fill '#dce8f7' -annotate +144+108 'Software für CD-Projekte' \
    -depth 8 -strip "$out/logo-wide.png"

convert -size 668x261 gradient:'#1d4f91'-'#3d7fd1' \
    "$tmp/disc200.png" -geometry +24+30 -composite \
    -font "$font" -pointsize 62 -fill white -annotate +244+130 'Quenbrook' \
    -font "$light" -pointsize 30 -fill '#dce8f7' -annotate +244+192 'Software für CD-Projekte' \
    -depth 8 -strip "$out/logo-badge.png"

# The window shows the badge 53 pixels high: a copy at twice that size (for
# high-density screens) decodes in a fraction of the time of the original.
convert "$out/logo-badge.png" -resize 272x106 -depth 8 -strip "$out/logo-badge-display.png"
