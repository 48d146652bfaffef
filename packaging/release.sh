#!/usr/bin/env bash
# The release, signed throughout, or nothing: the Debian package, the
# portable ZIP and the installer land in FOLDER only when every PE file in
# them carries a verified signature of the maker's identity (sign.sh) and the
# Debian package and the Windows packages carry the same Pirolo.Exe.
#
#   packaging/release.sh --identity        0 when the identity will do; a
#                                          German message and 1 otherwise
#   packaging/release.sh PRESET FOLDER     builds with the CMake preset
#                                          (dev or ci) and the windows preset
#
# ./dev release checks the identity first, installs what the build needs,
# then calls the second form. VELKARO_RECONFIGURE=yes configures the builds
# again (new packages may bring what configure looks for).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

if [ "${1:-}" = --identity ]; then
    status=0
    bash packaging/sign.sh --identity || status=$?
    if [ $status -eq 3 ]; then
        echo "Keine Veröffentlichung ohne Signatur: es ist keine Signaturidentität angegeben." >&2
        echo "Nennen Sie VELKARO_SIGN_PKCS12 und VELKARO_SIGN_PASSWORD_FILE oder VELKARO_SIGN_PKCS11_MODULE," >&2
        echo "VELKARO_SIGN_PKCS11_KEY und VELKARO_SIGN_CERT (siehe README, Abschnitt Windows)." >&2
        exit 1
    elif [ $status -ne 0 ]; then
        echo "Keine Veröffentlichung: die Signaturidentität ist nicht brauchbar (siehe oben)." >&2
        exit 1
    fi
    [ -n "${VELKARO_SIGN_TIMESTAMP_URL:-}${VELKARO_SIGN_TSA_CERTS:-}" ] ||
        echo "Hinweis: ohne VELKARO_SIGN_TIMESTAMP_URL gelten die Signaturen nur, solange das Zertifikat gilt."
    exit 0
fi

if [ $# -ne 2 ]; then
    echo "Aufruf: $0 --identity | $0 PRESET ORDNER" >&2
    exit 2
fi
preset=$1
out=$2

build() {
    if [ ! -f "build/$1/build.ninja" ] || [ "${VELKARO_RECONFIGURE:-no}" = yes ]; then
        cmake --preset "$1" >/dev/null
    fi
    cmake --build --preset "$1"
}

scratch=$(mktemp -d)
cleanup() {
    local status=$?
    rm -rf "$scratch"
    if [ $status -ne 0 ]; then
        rm -f "build/$preset"/velkaro_*.deb build/windows/dist/*.zip build/windows/dist/*-setup.exe
        echo "Keine Veröffentlichung: abgebrochen, es blieb kein Paket zurück." >&2
    fi
}
trap cleanup EXIT

started=$SECONDS
rm -f "build/$preset"/velkaro_*.deb build/windows/dist/*.zip build/windows/dist/*-setup.exe
build "$preset"
(cd "build/$preset" && cpack -G DEB >/dev/null)
packaging/windows/build-qt.sh >/dev/null
build windows
# The Windows packages carry the very file that the Debian package has.
PIROLO=$PWD/build/$preset/bin/Pirolo.Exe cmake --build --preset windows --target velkaro_packages

deb=$(realpath "build/$preset"/velkaro_*.deb)
zip=$(realpath build/windows/dist/*.zip)
setup=$(realpath build/windows/dist/*-setup.exe)
mkdir -p "$scratch/deb" "$scratch/zip"
dpkg-deb -x "$deb" "$scratch/deb"
(cd "$scratch/zip" && cmake -E tar xf "$zip")
files=()
mapfile -d '' files < <(find "$scratch/deb" "$scratch/zip" -type f \( -iname '*.exe' -o -iname '*.dll' \) -print0)
files+=("$setup")
if ! bash packaging/sign.sh --verify "${files[@]}"; then
    echo "Keine Veröffentlichung: nicht jede Windows-Datei trägt eine gültige Signatur." >&2
    exit 1
fi
if ! cmp -s "$scratch/deb/usr/lib/velkaro/Pirolo.Exe" "$(find "$scratch/zip" -name Pirolo.Exe)"; then
    echo "Keine Veröffentlichung: Pirolo.Exe ist im Debian-Paket ein anderes als in den Windows-Paketen." >&2
    exit 1
fi
# Into the folder whole or not at all: each package under a hidden name
# first, then renamed.
mkdir -p "$out"
for file in "$deb" "$zip" "$setup"; do
    cp "$file" "$out/.$(basename "$file").part"
done
for file in "$deb" "$zip" "$setup"; do
    mv "$out/.$(basename "$file").part" "$out/$(basename "$file")"
done
echo "Veröffentlichung nach $((SECONDS - started)) s in $out, ${#files[@]} Windows-Dateien signiert und geprüft:"
ls -l "$out/$(basename "$deb")" "$out/$(basename "$zip")" "$out/$(basename "$setup")" |
    awk '{printf "  %s  %d Bytes\n", $NF, $5}'
