#!/usr/bin/env bash
# velkaro-image beside xorriso -as mkisofs -J -R and beside the floor of any
# image writer, a plain copy of the same bytes (the tree's files written one
# after the other into one file in the same folder), on trees made here: a
# few thousand small files and a few large ones. Time (median of the runs)
# and peak memory (/usr/bin/time's maximum resident size) of each, and the
# ratios to the copy and to xorriso. All read from and write to /dev/shm when
# it has room, so that the disk does not decide the figures.
#   bench/image.sh [runs]    (default 5)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
runs=${1:-5}
image=build/dev/bin/velkaro-image
if [ ! -x "$image" ]; then
    echo "disc image: skipped, $image is not built (libisofs-dev missing?)"
    exit 0
fi
if ! command -v xorriso >/dev/null 2>&1 || [ ! -x /usr/bin/time ]; then
    echo "disc image: skipped, xorriso or /usr/bin/time is not installed"
    exit 0
fi

base=/dev/shm
[ "$(df -Pk /dev/shm 2>/dev/null | awk 'NR == 2 {print $4}')" -gt 3000000 ] 2>/dev/null || base=${TMPDIR:-/tmp}
work=$(mktemp -d "$base/velkaro-bench-image.XXXXXX")
trap 'rm -rf "$work"' EXIT

disc() { # folder: the two files every prepared CD root holds
    mkdir -p "$1"
    printf '[autorun]\r\nopen = Pirolo.Exe "\\"\r\n' >"$1/AutoRun.Inf"
    head -c 41472 /dev/urandom >"$1/Pirolo.Exe"
}

# A few thousand small files of 1 to 16 KiB in 40 folders.
small=$work/klein
disc "$small"
python3 - "$small" <<'PY'
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

# A few large files: four of 64 MiB, and for the memory the same again at 4x.
large() { # folder MiB-per-file
    disc "$1"
    for n in 1 2 3 4; do head -c $(($2 * 1024 * 1024)) /dev/urandom >"$1/gross$n.bin"; done
}
large "$work/gross" 64
large "$work/gross4" 256

median() { sort -n | awk '{a[NR]=$1} END {if (NR%2) print a[(NR+1)/2]; else print (a[NR/2]+a[NR/2+1])/2}'; }

# "seconds KiB" of one run
measure() {
    /usr/bin/time -f '%e %M' -o "$work/time" "$@" >/dev/null 2>&1
    cat "$work/time"
}

# The floor: the tree's files, in name order, into one file beside the image.
copy_tree() { # tree file
    find "$1" -type f -print0 | sort -z | xargs -0 cat >"$2"
}
export -f copy_tree

# Alternating runs of the three; prints "copy_s ours_s ours_kib theirs_s
# theirs_kib" (medians).
compare() {
    local tree=$1 i
    : >"$work/copy" ; : >"$work/ours" ; : >"$work/theirs"
    for ((i = 0; i < runs; i++)); do
        measure bash -c 'copy_tree "$1" "$2"' copy "$tree" "$work/copy.bin" >>"$work/copy"
        rm -f "$work/copy.bin"
        measure "$image" "$tree" -o "$work/ours.iso" >>"$work/ours"
        rm -f "$work/ours.iso"
        measure xorriso -as mkisofs -quiet -J -R -o "$work/theirs.iso" "$tree" >>"$work/theirs"
        rm -f "$work/theirs.iso"
    done
    echo "$(cut -d' ' -f1 "$work/copy" | median)" \
         "$(cut -d' ' -f1 "$work/ours" | median) $(cut -d' ' -f2 "$work/ours" | median)" \
         "$(cut -d' ' -f1 "$work/theirs" | median) $(cut -d' ' -f2 "$work/theirs" | median)"
}

rows() { # label figures...
    awk -v label="$1" -v cs="$2" -v os="$3" -v ok="$4" -v ts="$5" -v tk="$6" 'BEGIN {
        printf "%-44s %9s    %8s %8s\n", label, "", "/ copy", "/ xorriso"
        printf "%-44s %9.0f ms %8s\n", "  copy of the same bytes (floor)", cs * 1000, "1.00"
        printf "%-44s %9.0f ms %8.2f %8.2f\n", "  velkaro-image", os * 1000, os / cs, os / ts
        printf "%-44s %9.0f ms %8.2f %8s\n", "  xorriso -J -R", ts * 1000, ts / cs, "1.00"
        printf "%-44s %9.1f MB %8s %8.2f\n", "  peak RSS of velkaro-image", ok / 1024, "", ok / tk
        printf "%-44s %9.1f MB %8s %8s\n", "  peak RSS of xorriso", tk / 1024, "", "1.00"
    }'
}

read -r cs os ok ts tk < <(compare "$small")
rows "4,000 small files" "$cs" "$os" "$ok" "$ts" "$tk"
read -r cs os ok ts tk < <(compare "$work/gross")
rows "4 files of 64 MiB" "$cs" "$os" "$ok" "$ts" "$tk"
read -r cs4 os4 ok4 ts4 tk4 < <(compare "$work/gross4")
rows "4 files of 256 MiB (1 GiB)" "$cs4" "$os4" "$ok4" "$ts4" "$tk4"
awk -v a="$ok" -v b="$ok4" 'BEGIN {
    printf "%-44s %9.2f %11s\n", "  velkaro-image RSS, 4x the data / 1x", b / a, "" }'
