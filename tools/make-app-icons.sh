#!/usr/bin/env bash
# Makes Velkaro's application icon in the sizes that desktops ask for, from
# the same source as the disc icon (resources/mainiconlist/disc.ico): Debian's
# tango-icon-theme media-optical (public domain).
#   packaging/icons/hicolor/<n>x<n>/apps/velkaro.png   n = 16 32 48 64 128 256
#   packaging/icons/hicolor/scalable/apps/velkaro.svg
# 16 and 32 are Tango's own hand-tuned pictures; the larger ones are rendered
# from the SVG. The output is the same byte for byte on every run (no time
# stamps), so the committed files only change when the source does.
# Needs: tango-icon-theme librsvg2-bin
set -euo pipefail
out="$(cd "$(dirname "$0")/../packaging" && pwd)/icons/hicolor"
tango=/usr/share/icons/Tango
svg="$tango/scalable/devices/media-optical.svg"

for tool in rsvg-convert; do
    command -v "$tool" >/dev/null || { echo "$tool fehlt (Debian-Paket librsvg2-bin)" >&2; exit 1; }
done
[ -f "$svg" ] || { echo "$svg fehlt (Debian-Paket tango-icon-theme)" >&2; exit 1; }

for n in 16 32; do
    mkdir -p "$out/${n}x${n}/apps"
    cp "$tango/${n}x${n}/devices/media-optical.png" "$out/${n}x${n}/apps/velkaro.png"
done
for n in 48 64 128 256; do
    mkdir -p "$out/${n}x${n}/apps"
    rsvg-convert -w "$n" -h "$n" "$svg" -o "$out/${n}x${n}/apps/velkaro.png"
done
mkdir -p "$out/scalable/apps"
cp "$svg" "$out/scalable/apps/velkaro.svg"
