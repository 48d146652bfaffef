#!/usr/bin/env bash
# velkaro-autostart.exe under Wine writes the example disc onto a Windows
# path (C:\Projekt\CD, German locale, code page 1252): AutoRun.Inf is the
# Linux build's byte for byte but for its date line (the committed
# tests/autostart/example-AutoRun.Inf, which the Linux suite compares too),
# AutoRun.Ico is library icon 200 and Pirolo.Exe the build's.
# Call: autostart-example.sh WINE-RUN QT_PREFIX velkaro-autostart.exe EXPECTED.Inf ICON.ico Pirolo.Exe
set -euo pipefail
wine_run=$1 qt=$2 program=$3 expected=$4 icon=$5 launcher=$6

fail() {
    echo "FEHLER: $*" >&2
    exit 1
}
# A prefix of its own, started in the German locale (made here: the machine
# may have none installed), so that its code page is certainly 1252.
scratch=$(mktemp -d)
export WINEPREFIX=$scratch/wine
trap 'wineserver -k 2>/dev/null || true; rm -rf "$scratch"' EXIT
mkdir -p "$scratch/locale"
localedef -i de_DE -f UTF-8 "$scratch/locale/de_DE.UTF-8" >/dev/null 2>&1 \
    || fail "localedef kann kein deutsches Gebietsschema machen (Paket locales)"
export LOCPATH=$scratch/locale LC_ALL=de_DE.UTF-8 LANG=de_DE.UTF-8
unset LANGUAGE
bash "$wine_run" "$qt" cmd /c exit >/dev/null 2>&1 || true # makes the prefix
cd_dir=$WINEPREFIX/drive_c/Projekt/CD
mkdir -p "$cd_dir/start" "$cd_dir/doku"
echo '<html></html>' >"$cd_dir/start/index.htm"
echo '%PDF-1.4' >"$cd_dir/doku/handbuch.pdf"

# The program folder must hold Pirolo.Exe, as in the packages.
SOURCE_DATE_EPOCH=1765432109 bash "$wine_run" "$qt" "$program" 'C:\Projekt\CD' \
    --open 'start\index.htm' --menu0 'Handbuch=doku\handbuch.pdf' --icon library:200 \
    || fail "velkaro-autostart.exe schlug fehl"

without_date() { sed '2d' "$1"; }
cmp <(without_date "$expected") <(without_date "$cd_dir/AutoRun.Inf") \
    || fail "AutoRun.Inf ist nicht die des Linux-Builds: $(od -c "$cd_dir/AutoRun.Inf" | head -5)"
sed -n '2p' "$cd_dir/AutoRun.Inf" | grep -q '^;\* AUTORUN.INF (Erstellt: 11\.12\.2025 ' \
    || fail "die Datumszeile ist nicht die deutsche: $(sed -n '2p' "$cd_dir/AutoRun.Inf")"
cmp "$icon" "$cd_dir/AutoRun.Ico" || fail "AutoRun.Ico ist nicht Icon 200 der Bibliothek"
cmp "$launcher" "$cd_dir/Pirolo.Exe" || fail "Pirolo.Exe ist nicht das gebaute"
echo "velkaro-autostart.exe schreibt unter Wine dieselbe CD wie unter Linux."
