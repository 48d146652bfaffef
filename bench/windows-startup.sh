#!/usr/bin/env bash
# Start-up of the Windows build under Wine: bench_startup_probe.exe (the same
# main window as velkaro.exe, and a bare Qt window of the same size as the
# floor), each started RUNS times under wine64 on an X server, alternating.
# Prints the medians of "process start to first painted window" and their
# ratio; the Wine start of a process is part of both.
#   bench/windows-startup.sh [RUNS]        (default 11; after ./dev windows)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
runs=${1:-11}
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$runs"
fi
probe=build/windows/bin/bench_startup_probe.exe
[ -f "$probe" ] || { echo "$probe fehlt: erst ./dev windows" >&2; exit 1; }
qt=$(packaging/windows/build-qt.sh --prefix)
run=tests/windows/wine-run.sh

scratch=$(mktemp -d)
export WINEPREFIX=$scratch/wine
trap 'wineserver -k 2>/dev/null || true; rm -rf "$scratch"' EXIT
export QT_QPA_PLATFORM=windows

median() { sort -n | awk '{a[NR]=$1} END {if (NR%2) print a[(NR+1)/2]; else printf "%.1f\n", (a[NR/2]+a[NR/2+1])/2}'; }
once() {
    local start painted
    start=$(date +%s%N)
    painted=$("$run" "$qt" "$probe" "$1" 2>/dev/null | tr -d '\r' | awk '/^PAINTED/ {print $2}')
    [ -n "$painted" ] || { echo "kein PAINTED von $probe $1" >&2; exit 1; }
    awk -v a="$painted" -v b="$start" 'BEGIN {printf "%.1f\n", (a - b) / 1e6}'
}

# The first start makes the prefix, the server and its services and warms
# Wine's caches; it is not counted. The server stays a minute after each
# program (tests/windows/wine-run.sh), so it serves every run.
once floor >/dev/null
export VELKARO_WINE_SERVER_UP=1
once velkaro >/dev/null
: >"$scratch/floor"
: >"$scratch/velkaro"
for ((i = 0; i < runs; i++)); do
    once floor >>"$scratch/floor"
    once velkaro >>"$scratch/velkaro"
done
floor=$(median <"$scratch/floor")
velkaro=$(median <"$scratch/velkaro")
printf '%-52s %9s ms %6s\n' "start-up under Wine: bare Qt window (floor)" "$floor" "1.00"
printf '%-52s %9s ms %6s\n' "start-up under Wine: Velkaro main window" "$velkaro" \
    "$(awk -v a="$velkaro" -v b="$floor" 'BEGIN {printf "%.2f", a / b}')"
echo "runs: $runs each; floor $(sort -n "$scratch/floor" | xargs); velkaro $(sort -n "$scratch/velkaro" | xargs)"
