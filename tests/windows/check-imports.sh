#!/usr/bin/env bash
# Checks a Windows program folder (the unpacked ZIP or an installed Velkaro)
# against the PE import tables of its files:
#   every DLL that a program, DLL or plug-in imports lies in the folder or is
#   part of Windows (packaging/windows/system-dlls.txt), and every DLL in the
#   folder itself is imported by something, so nothing is shipped for nothing;
#   every program and DLL is built with DYNAMIC_BASE and NX_COMPAT, the 64-bit
#   ones also with HIGH_ENTROPY_VA;
#   the programs are there, and beside them libisofs's licence and our
#   changes to it, as packaging/windows/libisofs holds them.
#   check-imports.sh FOLDER|PACKAGE.zip SYSTEM_DLLS_LIST
set -euo pipefail
target=$1
list=$2
changes=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../packaging/windows/libisofs" && pwd)
objdump=${OBJDUMP:-x86_64-w64-mingw32-objdump}

if [ -f "$target" ]; then
    folder=$(mktemp -d)
    trap 'rm -rf "$folder"' EXIT
    (cd "$folder" && cmake -E tar xf "$target")
    folder=$(find "$folder" -mindepth 1 -maxdepth 1 -type d | head -n 1)
else
    folder=$target
fi
system=" $(grep -v '^#' "$list" | tr 'A-Z' 'a-z' | xargs) "
shipped=" $(find "$folder" -maxdepth 1 -type f -iname '*.dll' -printf '%f\n' | tr 'A-Z' 'a-z' | xargs) "

status=0
for file in velkaro.exe velkaro-autostart.exe velkaro-image.exe Pirolo.Exe lizenzen/libisofs-GPL-2.0.txt; do
    [ -f "$folder/$file" ] || { echo "FEHLER: $file fehlt"; status=1; }
done
if ! diff -r "$changes" "$folder/lizenzen/libisofs"; then
    echo "FEHLER: lizenzen/libisofs ist nicht packaging/windows/libisofs"
    status=1
fi
used=" "
checked=0
while IFS= read -r -d '' file; do
    checked=$((checked + 1))
    header=$("$objdump" -p "$file")
    names=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$header" | tr 'A-Z' 'a-z')
    # Address space layout randomisation and no executable data; 64-bit
    # files with the whole 64-bit address space for it.
    wanted="DYNAMIC_BASE NX_COMPAT"
    grep -q '^Magic[[:space:]]*020b' <<<"$header" && wanted="$wanted HIGH_ENTROPY_VA"
    for flag in $wanted; do
        if ! grep -qx "[[:space:]]*$flag" <<<"$header"; then
            echo "FEHLER: ${file#"$folder"/} ist ohne $flag gebaut"
            status=1
        fi
    done
    if [ -z "$names" ]; then
        echo "FEHLER: ${file#"$folder"/} hat keine Import-Tabelle (kein PE-Programm?)"
        status=1
    fi
    for name in $names; do
        used="$used$name "
        if [[ "$shipped" != *" $name "* && "$system" != *" $name "* ]]; then
            echo "FEHLER: ${file#"$folder"/} braucht $name: weder mitgeliefert noch Teil von Windows"
            status=1
        fi
    done
done < <(find "$folder" -type f \( -iname '*.exe' -o -iname '*.dll' \) -print0)

for dll in $shipped; do
    if [[ "$used" != *" $dll "* ]]; then
        echo "FEHLER: $dll wird mitgeliefert, aber von keiner Datei gebraucht"
        status=1
    fi
done
if [ "$checked" -lt 5 ]; then
    echo "FEHLER: nur $checked Programme und DLLs in $target"
    status=1
fi
[ $status -eq 0 ] && echo "Importe geprüft: $checked Dateien, mitgeliefert:$shipped"
exit $status
