#!/usr/bin/env bash
# Builds the Qt that velkaro.exe links against: qtbase for x86_64-w64-mingw32,
# cross-compiled from Debian's own source of the Qt the Linux build uses, with
# the host Qt's moc/rcc/uic (QT_HOST_PATH). Debian ships no Qt for mingw-w64.
#
#   packaging/windows/build-qt.sh            build if needed, print the prefix
#   packaging/windows/build-qt.sh --prefix   only print the prefix it would use
#   packaging/windows/build-qt.sh --check    exit 0 if that prefix is complete
#
# The result lands in ~/.cache/velkaro/qt-VERSION-mingw64-HASH/ (VELKARO_CACHE
# overrides ~/.cache/velkaro); HASH covers the Debian source version, the
# compiler and every option below, so changing any of them builds a new Qt
# beside the old one. A stamp file is written only after a successful install,
# so an interrupted build is resumed and a finished one costs seconds.
# Progress goes to build.log in the cache folder; build-time.txt keeps the
# wall time of the build.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/deb-source.sh"
velkaro_cache_mode "$@"

CACHE=${VELKARO_CACHE:-$HOME/.cache/velkaro}
TRIPLE=x86_64-w64-mingw32
CC=$TRIPLE-gcc-posix
CXX=$TRIPLE-g++-posix
JOBS=${VELKARO_QT_JOBS:-2}

# The Qt to build is the one the host has: its tools must match the sources.
src_version=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || true)
if [ -z "$src_version" ]; then
    echo "qt6-base-dev ist nicht installiert; ./dev installiert es." >&2
    exit 1
fi
qt_version=${src_version%%+*}
qt_version=${qt_version%%-*}

# Only what Velkaro needs: Core, Gui, Widgets, Test (its test programs), the
# windows, offscreen and minimal platform plug-ins, the windowsvista style and
# the ICO plug-in. Direct2D stays on although its platform plug-in is not
# shipped: without it Gui leaves out the DirectWrite font engine that the
# windows plug-in links. Third-party code is the copy in Qt's source, so
# the DLLs depend on nothing but Windows and the mingw runtime.
OPTIONS=(
    -DCMAKE_BUILD_TYPE=Release
    -DBUILD_SHARED_LIBS=ON
    -DQT_BUILD_TESTS=OFF
    -DQT_BUILD_EXAMPLES=OFF
    -DQT_BUILD_BENCHMARKS=OFF
    -DQT_QMAKE_TARGET_MKSPEC=win32-g++
    -DFEATURE_pkg_config=OFF
    -DFEATURE_opengl=OFF
    -DINPUT_opengl=no
    -DFEATURE_vulkan=OFF
    -DFEATURE_dbus=OFF
    -DFEATURE_sql=OFF
    -DFEATURE_network=OFF
    -DFEATURE_xml=OFF
    -DFEATURE_concurrent=OFF
    -DFEATURE_printsupport=OFF
    -DFEATURE_testlib=ON
    -DFEATURE_widgets=ON
    -DFEATURE_icu=OFF
    -DFEATURE_zstd=OFF
    -DFEATURE_glib=OFF
    # Debian's source leaves out the Wintab headers (their licence forbids
    # changes), which the windows plug-in needs for graphics tablets.
    -DFEATURE_tabletevent=OFF
    -DFEATURE_jpeg=OFF
    -DFEATURE_gif=OFF
    -DFEATURE_ico=ON
    -DFEATURE_freetype=ON
    -DFEATURE_harfbuzz=ON
    -DFEATURE_system_zlib=OFF
    -DFEATURE_system_png=OFF
    -DFEATURE_system_jpeg=OFF
    -DFEATURE_system_freetype=OFF
    -DFEATURE_system_harfbuzz=OFF
    -DFEATURE_system_pcre2=OFF
    -DFEATURE_system_doubleconversion=OFF
    -DFEATURE_system_libb2=OFF
    -DFEATURE_system_textmarkdownreader=OFF
    -DINPUT_freetype=qt
    -DINPUT_harfbuzz=qt
)

compiler_version=$("$CXX" --version 2>/dev/null | head -n1 || echo "no $CXX")
key=$(printf '%s\n' "$src_version" "$compiler_version" "${OPTIONS[@]}" | sha256sum | cut -c1-12)
PREFIX=$CACHE/qt-$qt_version-mingw64-$key
STAMP=$PREFIX/.velkaro-qt-complete

velkaro_cached "$PREFIX" "$STAMP"

velkaro_need_tools "$CC" "$CXX" $TRIPLE-windres cmake ninja dpkg-source
if [ ! -x /usr/lib/qt6/libexec/moc ]; then
    echo "Die Qt-Werkzeuge des Rechners fehlen (qt6-base-dev-tools)." >&2
    exit 1
fi

SRC_PARENT=$CACHE/src
SRC=$SRC_PARENT/qt6-base-${src_version%-*}
velkaro_debian_source qt6-base "$src_version" "$SRC_PARENT" "$(basename "$SRC")"

# One build folder per Qt version, kept between runs: a new option set is
# configured afresh in it, and Ninja recompiles only what that changes.
BUILD=$CACHE/build/qt-$qt_version-mingw64
rm -rf "$PREFIX"
rm -f "$BUILD/CMakeCache.txt"
mkdir -p "$PREFIX" "$BUILD"
LOG=$PREFIX/build.log
echo "Baue Qt $qt_version für Windows nach $PREFIX (Protokoll: $LOG); das dauert auf zwei Kernen 16 bis 25 Minuten." >&2

start=$(date +%s)
{
    echo "== Qt $qt_version ($src_version) for $TRIPLE, key $key"
    echo "== $compiler_version"
    # Qt refuses a build path through symbolic links; the real path is the same.
    cd -P "$BUILD"
    nice -n 19 cmake -G Ninja "$SRC" \
        -DCMAKE_SYSTEM_NAME=Windows \
        -DCMAKE_SYSTEM_PROCESSOR=AMD64 \
        -DCMAKE_C_COMPILER="$CC" \
        -DCMAKE_CXX_COMPILER="$CXX" \
        -DCMAKE_RC_COMPILER=$TRIPLE-windres \
        -DCMAKE_FIND_ROOT_PATH=/usr/$TRIPLE \
        -DCMAKE_FIND_ROOT_PATH_MODE_PROGRAM=NEVER \
        -DCMAKE_FIND_ROOT_PATH_MODE_LIBRARY=ONLY \
        -DCMAKE_FIND_ROOT_PATH_MODE_INCLUDE=ONLY \
        -DCMAKE_FIND_ROOT_PATH_MODE_PACKAGE=ONLY \
        -DQT_HOST_PATH=/usr \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DCMAKE_INSTALL_PREFIX="$PREFIX" \
        "${OPTIONS[@]}" &&
        nice -n 19 ninja -j"$JOBS" &&
        nice -n 19 cmake --install .
} >"$LOG" 2>&1 || {
    echo "Der Qt-Bau ist fehlgeschlagen; die letzten Zeilen von $LOG:" >&2
    tail -n 30 "$LOG" >&2
    exit 1
}
end=$(date +%s)

# The licence texts travel with the DLLs into every package.
mkdir -p "$PREFIX/licenses"
cp "$SRC"/LICENSES/*.txt "$SRC/debian/copyright" "$PREFIX/licenses/" 2>/dev/null || true
echo "$((end - start)) s on $(nproc) cores, $(date -u +%Y-%m-%dT%H:%MZ)" >"$PREFIX/build-time.txt"
touch "$STAMP"
echo "Qt fertig nach $((end - start)) s." >&2
echo "$PREFIX"
