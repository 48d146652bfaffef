#!/usr/bin/env bash
# Runs every benchmark and prints one table. Each figure stands beside a
# baseline measured in the same run, so the ratios hold on a noisy machine.
#   bench/run-all.sh [runs]      (default 21 start-ups per variant)
# Needs a build (./dev test or cmake --build --preset dev); for the start-up
# under a real X server also xvfb (apt-get install xvfb xauth).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
runs=${1:-21}
[ "$runs" = "--xvfb-startup" ] && runs=${2:-21}
bin=build/dev/bin
cmake --build --preset dev >/dev/null

median() { sort -n | awk '{a[NR]=$1} END {if (NR%2) print a[(NR+1)/2]; else printf "%.1f\n", (a[NR/2]+a[NR/2+1])/2}'; }

# Milliseconds from starting the process to its painted window, one line per run.
startup_series() {
    local variant=$1 i start painted
    for ((i = 0; i < runs; i++)); do
        start=$(date +%s%N)
        painted=$("$bin/bench_startup_probe" "$variant" 2>/dev/null | awk '/^PAINTED/ {print $2}')
        echo $(((painted - start) / 100000)) | awk '{printf "%.1f\n", $1 / 10}'
    done
}

startup_rows() {
    local platform=$1 floor text velkaro
    floor=$(startup_series floor | median)
    text=$(startup_series text | median)
    velkaro=$(startup_series velkaro | median)
    printf '%-44s %9s ms %8s\n' "start-up ($platform): empty window (floor)" "$floor" "1.00"
    printf '%-44s %9s ms %8s\n' "start-up ($platform): window with a button" "$text" \
        "$(awk -v a="$text" -v b="$floor" 'BEGIN {printf "%.2f", a / b}')"
    printf '%-44s %9s ms %8s\n' "start-up ($platform): Velkaro main window" "$velkaro" \
        "$(awk -v a="$velkaro" -v b="$floor" 'BEGIN {printf "%.2f", a / b}')"
}

if [ "${1:-}" = "--xvfb-startup" ]; then
    runs=$2
    startup_rows Xvfb
    exit 0
fi

export QT_QPA_PLATFORM=offscreen
printf '%-44s %12s %8s\n' "benchmark (medians)" "figure" "ratio"
startup_rows offscreen
if command -v xvfb-run >/dev/null 2>&1; then
    QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" "$0" --xvfb-startup "$runs"
else
    echo "start-up (Xvfb): skipped, xvfb-run is not installed"
fi

"$bin/bench_ok_command" 41 | awk '
    /^ok_command_ms/    {ok = $2; okmin = $3; okmax = $4}
    /^launcher_copy_ms/ {cp = $2; cpmin = $3; cpmax = $4}
    END {
        printf "%-44s %9.2f ms %8s\n", "copy of Pirolo.Exe alone (floor)", cp, "1.00"
        printf "%-44s %9.2f ms %8.2f\n", "OK command, 3 rows + library icon", ok, ok / cp
        printf "%-44s %5.2f..%.2f ms\n", "  spread of the OK command (fastest..slowest)", okmin, okmax
    }'

"$bin/bench_system_check_cpu" 3 | awk '
    /idle event loop/ {idle = $(NF-1)}
    /^System-Check/   {check = $(NF-4)}
    /polling loop/    {busy = $(NF-1)}
    END {
        printf "%-44s %9.2f %% %8s\n", "CPU, idle event loop 3.9 s (floor)", idle, ""
        printf "%-44s %9.2f %% %8s\n", "CPU during the System-Check (3.9 s)", check, ""
        printf "%-44s %9.2f %% %8s\n", "CPU of a busy wait, for comparison", busy, ""
    }'

"$bin/bench_icon_library" 21 | awk '
    /^median opening/     {open = $7}
    /^median empty/       {empty = $8}
    /^first opening/      {first = $(NF-1)}
    /after 5 more|after [0-9]+ more/ {added = $(NF-6)}
    END {
        printf "%-44s %9.2f ms %8s\n", "empty dialog of the library'"'"'s size (floor)", empty, "1.00"
        printf "%-44s %9.2f ms %8.2f\n", "icon library dialog, opened and painted", open, open / empty
        printf "%-44s %9.2f ms\n", "  its first opening (icons made for the view)", first
        printf "%-44s %9s MB\n", "  memory the library adds (resident)", added
    }'

"$bin/bench_memory" | awk '/^rss/ {
    label = $3; for (i = 4; i <= NF; ++i) label = label " " $i
    printf "%-44s %9.1f MB\n", "peak RSS, " label, $2 }'

# velkaro-image beside xorriso on trees made by the script (3 runs each).
bench/image.sh 3

# velkaro.exe's main window under Wine beside a bare Qt window of the same
# build (only after ./dev windows).
if [ -f build/windows/bin/bench_startup_probe.exe ]; then
    bench/windows-startup.sh 5
fi
