#!/usr/bin/env bash
# velkaro-image.exe under Wine, in the German locale (ANSI code page 1252):
# a disc with umlaut, Greek and CJK names, a path beyond MAX_PATH and a file
# of several MB, made ready by velkaro-autostart.exe, becomes an image that
# --check passes, whose Joliet tree xorriso reads back name for name and
# byte for byte, and which is the Linux build's image of the same tree byte
# for byte. Then the cases that must leave the old image as it was: the
# target open in another program, a full disk, Ctrl+C.
#   image-proof.sh WINE_RUN QT_PREFIX velkaro-image.exe velkaro-autostart.exe
#                  [LINUX_VELKARO_IMAGE]
# (velkaro-autostart.exe takes Pirolo.Exe from beside itself.)
set -euo pipefail
wine_run=$1 qt=$2 image_exe=$3 autostart_exe=$4 linux_image=${5:-}
fail() {
    echo "image-proof: $*" >&2
    exit 1
}

scratch=$(mktemp -d)
export WINEPREFIX=$scratch/wine
cleanup() {
    mountpoint -q "$scratch/wine/drive_c/klein" 2>/dev/null && umount "$scratch/wine/drive_c/klein"
    wineserver -k 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT
mkdir -p "$scratch/locale"
localedef -i de_DE -f UTF-8 "$scratch/locale/de_DE.UTF-8" >/dev/null 2>&1 \
    || fail "localedef kann kein deutsches Gebietsschema machen (Paket locales)"
export LOCPATH=$scratch/locale LC_ALL=de_DE.UTF-8 LANG=de_DE.UTF-8
unset LANGUAGE
export SOURCE_DATE_EPOCH=1000000000
win() { bash "$wine_run" "$qt" "$@"; }
win cmd /c exit >/dev/null 2>&1 || true # makes the prefix

projekt=$WINEPREFIX/drive_c/Projekt
cd_dir=$projekt/CD
mkdir -p "$cd_dir/Übersicht" "$cd_dir/Ελληνικά" "$cd_dir/文档"
echo '<html>Übersicht</html>' >"$cd_dir/Übersicht/start.htm"
echo 'Καλημέρα' >"$cd_dir/Ελληνικά/κείμενο.txt"
echo '说明' >"$cd_dir/文档/说明.txt"
# Not the same byte over and over: misplaced pieces would show.
awk 'BEGIN { for (i = 0; i < 120000; i++) printf "%07d Zeile mit Inhalt, Stück %d\n", i, i * 7919 % 1000003 }' \
    >"$cd_dir/daten.bin"
deep=$cd_dir
for i in 1 2 3 4 5 6 7; do deep=$deep/Ordner-mit-einem-recht-langen-Namen-$i; done
mkdir -p "$deep"
echo tief >"$deep/ganz-unten.txt"
# As C:\...: "drive_c" becomes "C:".
[ $((${#deep} - ${#WINEPREFIX} - 6)) -gt 260 ] || fail "der tiefe Pfad ist nicht länger als MAX_PATH"
win "$autostart_exe" 'C:\Projekt\CD' --open 'Übersicht\start.htm' >/dev/null \
    || fail "velkaro-autostart.exe hat die CD nicht vorbereitet"

# The image, its check, and its Joliet tree as xorriso reads it.
out=$(win "$image_exe" 'C:\Projekt\CD' 2>&1) || fail "velkaro-image.exe scheiterte: $out"
grep -q '^Fertig: „C:/Projekt/CD.iso“' <<<"$out" || fail "keine Fertig-Meldung: $out"
grep -q 'Windows öffnet nur Pfade bis 259 Zeichen' <<<"$out" || fail "kein Hinweis auf den langen Pfad: $out"
out=$(win "$image_exe" --check 'C:\Projekt\CD.iso' 2>&1) || fail "--check scheiterte: $out"
grep -q '^In Ordnung' <<<"$out" || fail "--check sagt nicht „In Ordnung“: $out"
mkdir "$scratch/joliet"
xorriso -indev "$projekt/CD.iso" -rockridge off -joliet on -osirrox on -extract / "$scratch/joliet" \
    >"$scratch/xorriso.txt" 2>&1 || fail "xorriso liest den Joliet-Baum nicht: $(tail -5 "$scratch/xorriso.txt")"
diff -r "$cd_dir" "$scratch/joliet" || fail "der Joliet-Baum weicht vom CD-Hauptverzeichnis ab"
if [ -n "$linux_image" ] && [ -x "$linux_image" ]; then
    "$linux_image" "$cd_dir" -o "$scratch/linux.iso" >/dev/null 2>&1 \
        || fail "das velkaro-image des Linux-Builds scheiterte"
    cmp "$projekt/CD.iso" "$scratch/linux.iso" || fail "das Abbild unter Windows ist ein anderes als unter Linux"
else
    echo "image-proof: kein velkaro-image des Linux-Builds (cmake --preset ci baut es); der Vergleich entfällt"
fi

# Each case below must leave this image as it is, and no temporary file.
cp "$projekt/CD.iso" "$scratch/old.iso"
unchanged() { # folder target [what it held]
    cmp -s "$1/$2" "${3:-$scratch/old.iso}" || fail "$2 wurde verändert"
    ! ls "$1/$2".* >/dev/null 2>&1 || fail "eine vorläufige Datei blieb liegen: $(ls "$1/$2".*)"
}
expect() { # status text, on the output of the last run
    [ "$status" = "$1" ] || fail "Rückgabewert $status statt $1: $out"
    grep -qF "$2" <<<"$out" || fail "es fehlt „$2“ in: $out"
}

# The target open in another program: cmd holds it as standard input.
status=0
out=$(win cmd /c "$(winepath -w "$image_exe") C:\Projekt\CD < C:\Projekt\CD.iso" 2>&1) || status=$?
[ "$status" != 0 ] || fail "ein geöffnetes Ziel wurde ersetzt"
grep -qF '„C:/Projekt/CD.iso“ ist in einem anderen Programm geöffnet und lässt sich deshalb nicht ersetzen.' <<<"$out" \
    || fail "keine Meldung, dass das Abbild geöffnet ist: $out"
unchanged "$projekt" CD.iso

# A full disk: a drive folder on a small file system.
klein=$WINEPREFIX/drive_c/klein
mkdir -p "$klein"
if mount -t tmpfs -o size=2m tmpfs "$klein" 2>/dev/null; then
    echo 'das alte Abbild' >"$scratch/small.iso"
    cp "$scratch/small.iso" "$klein/CD.iso"
    status=0
    out=$(win "$image_exe" 'C:\Projekt\CD' -o 'C:\klein\CD.iso' 2>&1) || status=$?
    expect 1 '„C:/klein/CD.iso“ ließ sich nicht schreiben: Datenträger voll (Code 61). „C:/klein/CD.iso“ ist unverändert.'
    unchanged "$klein" CD.iso "$scratch/small.iso"
    umount "$klein"
else
    echo "image-proof: hier lässt sich kein kleines Dateisystem einhängen; der Fall der vollen Platte entfällt"
fi

# Ctrl+C while the image is written: Wine hands SIGINT to the console
# handler as CTRL_C_EVENT. A sparse 1 GiB file keeps the write going.
truncate -s 1G "$cd_dir/gross.bin"
status=0
win "$image_exe" 'C:\Projekt\CD' >"$scratch/stop.txt" 2>&1 &
runner=$!
for _ in $(seq 1 600); do
    temporary=$(ls "$projekt"/CD.iso.* 2>/dev/null | head -1 || true)
    [ -n "$temporary" ] && [ "$(stat -c %s "$temporary")" -gt 0 ] && break
    sleep 0.05
done
[ -n "$temporary" ] || fail "das Schreiben war nie zu sehen"
pkill -INT -f 'velkaro-image.exe C:\\Projekt\\CD$' || fail "kein velkaro-image.exe zum Abbrechen"
wait "$runner" || status=$?
out=$(cat "$scratch/stop.txt")
expect 130 'Abgebrochen. „C:/Projekt/CD.iso“ ist unverändert.'
unchanged "$projekt" CD.iso
echo "image-proof: in Ordnung"
