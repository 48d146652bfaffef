#!/usr/bin/env bash
# Takes docs/screenshots/progress.png and info.png from real windows on a
# virtual X display with a window manager, so that the title bars show.
# Needs: xvfb icewm xdotool imagemagick.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bin=${1:-build/dev/bin}
cmake -S . -B "$(dirname "$bin")" -DVELKARO_BUILD_TOOLS=ON >/dev/null
cmake --build "$(dirname "$bin")" --target velkaro_show_window
out=docs/screenshots
mkdir -p "$out"

display=:${VELKARO_SCREENSHOT_DISPLAY:-97}
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp &
xvfb=$!
wm=
trap 'kill $wm "$xvfb" 2>/dev/null || true' EXIT
export DISPLAY=$display
sleep 1
icewm &
wm=$!
sleep 1
unset QT_QPA_PLATFORM

# The System-Check shows 68 % from 0.8 s to 2.8 s after its start.
"$bin/velkaro_show_window" progress &
shower=$!
window=$(timeout 20 xdotool search --sync --name '^Velkaro 2005 - System-Check$' | head -n 1)
sleep 1.3
import -frame -window "$window" "$out/progress.png"
wait "$shower"

"$bin/velkaro_show_window" info &
shower=$!
window=$(timeout 20 xdotool search --sync --name '^Velkaro 2005 - Info$' | head -n 1)
sleep 1
import -frame -window "$window" "$out/info.png"
kill "$shower"
wait "$shower" 2>/dev/null || true
echo "Geschrieben: $out/progress.png $out/info.png"
