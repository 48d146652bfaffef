#!/usr/bin/env bash
# Takes the screenshots of docs/screenshots under a virtual display with a
# window manager, so that they show the windows as a user sees them.
# Needs: xvfb xauth openbox (and a build configured with -DVELKARO_BUILD_TOOLS=ON)
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
build=${1:-$top/build/dev}
cmake -S "$top" -B "$build" -DVELKARO_BUILD_TOOLS=ON >/dev/null
cmake --build "$build" --target velkaro_screenshots
export XDG_CONFIG_HOME=$(mktemp -d) # no stored window position
xvfb-run -a -s "-screen 0 1024x768x24" bash -c "
    openbox >/dev/null 2>&1 &
    sleep 1
    '$build/bin/velkaro_screenshots' '$top/docs/screenshots'
"
echo "Screenshots written to docs/screenshots"
# The help pages show the same two pictures of the main window.
cp "$top/docs/screenshots/main-compact.png" "$top/resources/hilfe/bilder/hauptfenster-kompakt.png"
cp "$top/docs/screenshots/main-extended.png" "$top/resources/hilfe/bilder/hauptfenster-erweitert.png"
