#!/usr/bin/env bash
# velkaro-image.exe under Wine beside the floor of any image writer under the
# same Wine: a plain copy of the same bytes (xcopy of the tree into a folder
# beside the image). Trees made here: a few thousand small files and four
# large ones. Medians of RUNS alternating runs and their ratio; the Wine
# start of a process is part of both.
#   bench/windows-image.sh [RUNS]        (default 5; after ./dev windows)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
runs=${1:-5}
image=build/windows/bin/velkaro-image.exe
[ -f "$image" ] || { echo "$image fehlt: erst ./dev windows" >&2; exit 1; }
qt=$(packaging/windows/build-qt.sh --prefix)
run=tests/windows/wine-run.sh

scratch=$(mktemp -d "${TMPDIR:-/tmp}/velkaro-bench-wimage.XXXXXX")
export WINEPREFIX=$scratch/wine
trap 'wineserver -k 2>/dev/null || true; rm -rf "$scratch"' EXIT
"$run" "$qt" cmd /c exit >/dev/null 2>&1 || true # the prefix, not counted
export VELKARO_WINE_SERVER_UP=1
work=$WINEPREFIX/drive_c/bench

disc() { # folder: the two files every prepared CD root holds
    mkdir -p "$1"
    printf '[autorun]\r\nopen = Pirolo.Exe "\\"\r\n' >"$1/AutoRun.Inf"
    head -c 41472 /dev/urandom >"$1/Pirolo.Exe"
}
disc "$work/klein"
python3 - "$work/klein" <<'PY'
import os, random, sys
root = sys.argv[1]
rng = random.Random(17)
for f in range(40):
    folder = os.path.join(root, f"ordner{f:02d}")
    os.makedirs(folder)
    for n in range(100):
        with open(os.path.join(folder, f"datei{n:03d}.txt"), "wb") as out:
            out.write(rng.randbytes(rng.randint(1024, 16384)))
PY
disc "$work/gross"
for n in 1 2 3 4; do head -c $((64 * 1024 * 1024)) /dev/urandom >"$work/gross/gross$n.bin"; done

median() { sort -n | awk '{a[NR]=$1} END {if (NR%2) print a[(NR+1)/2]; else printf "%.1f\n", (a[NR/2]+a[NR/2+1])/2}'; }
timed() { # milliseconds of one run
    local start
    start=$(date +%s%N)
    "$run" "$qt" "$@" >/dev/null 2>&1 || { echo "gescheitert: $*" >&2; exit 1; }
    echo $((($(date +%s%N) - start) / 1000000))
}

rows() { # label tree
    local i copy ours
    : >"$scratch/copy"
    : >"$scratch/ours"
    for ((i = 0; i < runs; i++)); do
        timed cmd /c xcopy /e /i /q /y "C:\\bench\\$2" "C:\\bench\\kopie" >>"$scratch/copy"
        rm -rf "$work/kopie"
        timed "$image" "C:\\bench\\$2" -o 'C:\bench\abbild.iso' >>"$scratch/ours"
        rm -f "$work/abbild.iso"
    done
    copy=$(median <"$scratch/copy")
    ours=$(median <"$scratch/ours")
    awk -v label="$1" -v c="$copy" -v o="$ours" 'BEGIN {
        printf "%-44s %9s    %8s\n", label " (Wine)", "", "/ copy"
        printf "%-44s %9.0f ms %8s\n", "  xcopy of the same bytes (floor)", c, "1.00"
        printf "%-44s %9.0f ms %8.2f\n", "  velkaro-image.exe", o, o / c
    }'
}

rows "4,000 small files" klein
rows "4 files of 64 MiB" gross
