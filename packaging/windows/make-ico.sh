#!/bin/sh
# Packs PNG pictures into one Windows icon file (PNG-compressed entries, which
# Windows reads from Vista on):  make-ico.sh OUT.ico SIZE:FILE.png ...
# The PNGs are the committed pictures of packaging/icons, so velkaro.exe
# shows the same icon as the Linux desktop entry.
set -eu
out=$1
shift

le16() { printf "\\$(printf %03o $(($1 & 255)))\\$(printf %03o $((($1 >> 8) & 255)))"; }
le32() { le16 $(($1 & 65535)); le16 $((($1 >> 16) & 65535)); }

tmp=$out.tmp
count=$#
{
    le16 0
    le16 1
    le16 "$count"
    offset=$((6 + 16 * count))
    for entry in "$@"; do
        size=${entry%%:*}
        file=${entry#*:}
        bytes=$(wc -c <"$file")
        # 256 is written as 0 in the one-byte width and height.
        dim=$((size % 256))
        printf "\\$(printf %03o $dim)\\$(printf %03o $dim)\\000\\000"
        le16 1
        le16 32
        le32 "$bytes"
        le32 "$offset"
        offset=$((offset + bytes))
    done
    for entry in "$@"; do
        cat "${entry#*:}"
    done
} >"$tmp"
mv "$tmp" "$out"
