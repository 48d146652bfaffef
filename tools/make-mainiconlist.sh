#!/usr/bin/env bash
# Makes the two pictures of the main window's icon list from Debian's
# tango-icon-theme (public domain):
#   disc.ico    the launcher's own icon (16, 32 and 48 pixels), shown for
#               "(Standardeinstellung)" and carried by Pirolo.Exe
#   noicon.png  the 16 x 16 mark for "no icon": a cross on a transparent ground
# Needs: tango-icon-theme imagemagick librsvg2-bin
set -euo pipefail
out="$(cd "$(dirname "$0")/../resources/mainiconlist" && pwd)"
tango=/usr/share/icons/Tango
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

cp "$tango/16x16/devices/media-optical.png" "$tmp/disc16.png"
cp "$tango/32x32/devices/media-optical.png" "$tmp/disc32.png"
rsvg-convert -w 48 -h 48 "$tango/scalable/devices/media-optical.svg" -o "$tmp/disc48.png"
convert "$tmp/disc16.png" "$tmp/disc32.png" "$tmp/disc48.png" -strip "$out/disc.ico"

cp "$tango/16x16/actions/process-stop.png" "$out/noicon.png"
