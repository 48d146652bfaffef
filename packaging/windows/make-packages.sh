#!/usr/bin/env bash
# Makes the two Windows packages from a finished windows build; run by the
# target velkaro_packages, which passes everything in the environment:
#   DIST/PACKAGE_BASE/                  the files to ship, as installed
#   DIST/PACKAGE_BASE.zip               the portable ZIP of that folder
#   DIST/PACKAGE_BASE-setup.exe         the installer (NSIS)
# The Qt DLLs are the three modules velkaro.exe links and the three plug-ins
# it loads (windows platform, windowsvista style, ICO pictures); the runtime
# DLLs are the ones that those files import, found in the Qt build and in
# Debian's mingw packages. Anything else they import must be part of Windows.
# libisofs is linked into velkaro-image.exe; its licence and our changes to
# it come from its prefix (LIBISOFS_PREFIX, packaging/windows/build-libisofs.sh).
# With the maker's identity in VELKARO_SIGN_* (see packaging/sign.sh) every
# program and DLL is signed before it is packed, the uninstaller before NSIS
# embeds it and the installer last; Pirolo.Exe (PIROLO, by default the
# build's) comes signed from the build and is packed unchanged.
set -euo pipefail

for v in VERSION PRODUCT MAKER HOMEPAGE RELEASE_DATE SOURCE_DIR BUILD_DIR QT_PREFIX QT_GERMAN \
         LIBISOFS_PREFIX RUNTIME_DIR PTHREAD_DLL STRIP MAKENSIS DIST PACKAGE_BASE; do
    if [ -z "${!v:-}" ]; then
        echo "make-packages.sh: $v fehlt" >&2
        exit 2
    fi
done
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
sign=(bash "$here/../sign.sh" -n "$PRODUCT" -i "$HOMEPAGE")
signing=0
bash "$here/../sign.sh" --identity || signing=$?
[ $signing -eq 0 ] || [ $signing -eq 3 ] || exit 1
pirolo=${PIROLO:-$BUILD_DIR/bin/Pirolo.Exe}
programs=(velkaro.exe velkaro-autostart.exe velkaro-image.exe)
for program in "${programs[@]}"; do
    if [ ! -f "$BUILD_DIR/bin/$program" ]; then
        echo "make-packages.sh: $BUILD_DIR/bin/$program fehlt; der Windows-Build macht es (cmake --build --preset windows)." >&2
        exit 1
    fi
done
# The libisofs in velkaro-image.exe: the Debian source it was built from.
libisofs_source=$(dpkg-query -W -f='${Version}' libisofs-dev 2>/dev/null || true)
if [ ! -f "$LIBISOFS_PREFIX/version.txt" ] || [ "${libisofs_source%-*}" != "$(cat "$LIBISOFS_PREFIX/version.txt")" ]; then
    echo "make-packages.sh: $LIBISOFS_PREFIX ist nicht die libisofs von libisofs-dev ${libisofs_source:-(nicht installiert)}; packaging/windows/build-libisofs.sh baut sie." >&2
    exit 1
fi
objdump=${STRIP%strip}objdump
stage=$DIST/$PACKAGE_BASE
rm -rf "$stage" "$DIST/$PACKAGE_BASE.zip" "$DIST/$PACKAGE_BASE-setup.exe"
mkdir -p "$stage"

# The program, its command-line companions, the launcher and the help pages,
# as the build left them.
# Pirolo.Exe is copied unchanged: the discs get exactly the tested file.
for program in "${programs[@]}"; do
    cp "$BUILD_DIR/bin/$program" "$stage/"
done
cp "$pirolo" "$stage/Pirolo.Exe"
cp -r "$BUILD_DIR/bin/hilfe" "$stage/"
mkdir -p "$stage/translations"
cp "$QT_GERMAN" "$stage/translations/"
cp "$here/qt.conf" "$stage/"

for dll in Qt6Core Qt6Gui Qt6Widgets; do
    cp "$QT_PREFIX/bin/$dll.dll" "$stage/"
done
for plugin in platforms/qwindows styles/qwindowsvistastyle imageformats/qico; do
    mkdir -p "$stage/$(dirname "$plugin")"
    cp "$QT_PREFIX/plugins/$plugin.dll" "$stage/$plugin.dll"
done

# Names a PE file imports, in lower case.
imports() {
    "$objdump" -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z'
}
# The runtime DLLs that the shipped files need, until nothing new turns up.
search=("$QT_PREFIX/bin" "$RUNTIME_DIR" "$(dirname "$PTHREAD_DLL")")
system_dlls=" $(tr 'A-Z' 'a-z' <"$here/system-dlls.txt" | grep -v '^#' | xargs) "
while :; do
    added=0
    while IFS= read -r -d '' file; do
        for name in $(imports "$file"); do
            [ -e "$stage/$name" ] && continue
            # The Qt DLLs are named in mixed case.
            shipped=$(find "$stage" -maxdepth 1 -iname "$name" | head -n 1)
            [ -n "$shipped" ] && continue
            [[ "$system_dlls" == *" $name "* ]] && continue
            found=""
            for dir in "${search[@]}"; do
                found=$(find "$dir" -maxdepth 1 -iname "$name" | head -n 1)
                [ -n "$found" ] && break
            done
            if [ -z "$found" ]; then
                echo "$(basename "$file") braucht $name, das weder mitgeliefert wird noch zu Windows gehört." >&2
                exit 1
            fi
            cp "$found" "$stage/"
            added=1
        done
    done < <(find "$stage" -type f \( -iname '*.exe' -o -iname '*.dll' \) ! -name Pirolo.Exe -print0)
    [ $added -eq 0 ] && break
done

# Release builds carry no debug information, but the symbol tables are big.
find "$stage" -type f \( -iname '*.dll' -o -name velkaro.exe -o -name velkaro-autostart.exe \
    -o -name velkaro-image.exe \) -exec "$STRIP" --strip-unneeded {} +

if [ $signing -eq 0 ]; then
    "${sign[@]}" --verify "$stage/Pirolo.Exe" ||
        { echo "Pirolo.Exe ist nicht mit dieser Identität signiert: der Build signiert es, wenn VELKARO_SIGN_* beim Bauen gesetzt ist." >&2; exit 1; }
    find "$stage" -type f \( -iname '*.exe' -o -iname '*.dll' \) ! -name Pirolo.Exe -print0 |
        xargs -0 "${sign[@]}"
fi

# Licences of everything shipped.
lic=$stage/lizenzen
mkdir -p "$lic"
cp "$SOURCE_DIR/LICENSE" "$lic/Velkaro-GPL-3.0.txt"
cp "$BUILD_DIR/packaging/copyright" "$lic/Velkaro-copyright.txt"
if [ -f "$SOURCE_DIR/resources/iconlib/NOTICE" ]; then
    cp "$SOURCE_DIR/resources/iconlib/NOTICE" "$lic/Velkaro-Iconbibliothek-NOTICE.txt"
fi
for text in LGPL-3.0-only GPL-3.0-only GPL-2.0-only; do
    if [ -f "$QT_PREFIX/licenses/$text.txt" ]; then
        cp "$QT_PREFIX/licenses/$text.txt" "$lic/Qt-$text.txt"
    fi
done
cp "$QT_PREFIX/licenses/copyright" "$lic/Qt-copyright.txt"
cp "$LIBISOFS_PREFIX/licenses/libisofs-GPL-2.0.txt" "$LIBISOFS_PREFIX/licenses/libisofs-copyright.txt" "$lic/"
# Our changes to libisofs as they were applied, the shims beside them.
(cd "$LIBISOFS_PREFIX/patches" && find . -type f -exec install -D -m 644 {} "$lic/libisofs/{}" \;)
cp /usr/share/doc/gcc-mingw-w64-x86-64-posix-runtime/copyright "$lic/GCC-Laufzeit-copyright.txt"
cp /usr/share/doc/mingw-w64-x86-64-dev/copyright "$lic/mingw-w64-copyright.txt"
sed -e "s/@VERSION@/$VERSION/g" -e "s/@LIBISOFS_SOURCE@/$libisofs_source/g" \
    "$here/Lizenzen.txt.in" >"$lic/LIESMICH.txt"
# Windows editors expect CR LF in text files.
for f in "$lic"/*.txt "$stage/qt.conf"; do
    sed -i 's/\r$//; s/$/\r/' "$f"
done

# The portable ZIP, with one time stamp for every entry.
(
    cd "$DIST"
    find "$PACKAGE_BASE" -type f | LC_ALL=C sort >"$DIST/files.txt"
    cmake -E tar cf "$PACKAGE_BASE.zip" --format=zip --mtime="$RELEASE_DATE 12:00:00 UTC" \
        --files-from="$DIST/files.txt"
)

# The installer: every file by name, so the uninstaller removes exactly what
# was installed and nothing the user put beside it.
files_nsh=$DIST/install-files.nsh
unfiles_nsh=$DIST/uninstall-files.nsh
: >"$files_nsh"
: >"$unfiles_nsh"
winpath() { local p=${1//\//\\}; echo "$p"; }
(cd "$stage" && find . -mindepth 1 -type d | sed 's|^\./||' | LC_ALL=C sort) >"$DIST/dirs.txt"
(cd "$stage" && find . -type f | sed 's|^\./||' | LC_ALL=C sort) >"$DIST/relfiles.txt"
current=""
while IFS= read -r rel; do
    dir=$(dirname "$rel")
    [ "$dir" = . ] && dir=""
    if [ "$dir" != "$current" ] || [ ! -s "$files_nsh" ]; then
        if [ -z "$dir" ]; then
            echo 'SetOutPath "$INSTDIR"' >>"$files_nsh"
        else
            echo "SetOutPath \"\$INSTDIR\\$(winpath "$dir")\"" >>"$files_nsh"
        fi
        current=$dir
    fi
    echo "File \"$stage/$rel\"" >>"$files_nsh"
    echo "Delete \"\$INSTDIR\\$(winpath "$rel")\"" >>"$unfiles_nsh"
done <"$DIST/relfiles.txt"
# Deepest folders first.
LC_ALL=C sort -r "$DIST/dirs.txt" | while IFS= read -r rel; do
    echo "RMDir \"\$INSTDIR\\$(winpath "$rel")\"" >>"$unfiles_nsh"
done
size_kb=$(du -sk "$stage" | cut -f1)

IFS=. read -r major minor patch tweak <<<"$VERSION"
signing_defines=()
if [ $signing -eq 0 ]; then
    # makensis splits the command at blanks outside double quotation marks.
    printf -v sign_command '"%s" ' "${sign[@]}"
    signing_defines=(-DSIGN="$sign_command")
fi
"$MAKENSIS" -V2 -INPUTCHARSET UTF8 "${signing_defines[@]}" \
    -DVERSION="$VERSION" -DVERSION_MAJOR="$major" -DVERSION_MINOR="$minor" \
    -DMAKER="$MAKER" -DHOMEPAGE="$HOMEPAGE" -DSIZE_KB="$size_kb" \
    -DFILES_NSH="$files_nsh" -DUNFILES_NSH="$unfiles_nsh" \
    -DOUTFILE="$DIST/$PACKAGE_BASE-setup.exe" \
    "$here/velkaro.nsi"

rm -f "$DIST/files.txt" "$DIST/dirs.txt" "$DIST/relfiles.txt"
ls -l "$DIST/$PACKAGE_BASE.zip" "$DIST/$PACKAGE_BASE-setup.exe"
