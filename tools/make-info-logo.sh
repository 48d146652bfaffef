#!/usr/bin/env bash
# Renders the maker's logo strip of the info dialog from its SVG source.
# Needs rsvg-convert (Debian package librsvg2-bin); the PNG is committed, so
# the build itself does not need it.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../resources/info"
rsvg-convert -w 65 -h 309 quenbrook-strip.svg -o quenbrook-strip.png
echo "resources/info/quenbrook-strip.png geschrieben (65 x 309 Pixel)."
