#!/usr/bin/env bash
# Builds the libisofs that velkaro-image.exe links against: a static library
# for x86_64-w64-mingw32 from Debian's own source of the libisofs the Linux
# build uses, with the patches and shims in packaging/windows/libisofs (each
# says why). Debian ships no libisofs for mingw-w64.
#
#   packaging/windows/build-libisofs.sh            build if needed, print the prefix
#   packaging/windows/build-libisofs.sh --prefix   only print the prefix it would use
#   packaging/windows/build-libisofs.sh --check    exit 0 if that prefix is complete
#
# The result lands in ~/.cache/velkaro/libisofs-VERSION-mingw64-HASH/
# (VELKARO_CACHE overrides ~/.cache/velkaro): lib/libisofs.a,
# include/libisofs/libisofs.h with velkaro-win32.h, which its users must
# force-include, and lib/cmake/libisofs/libisofs-config.cmake, which does so.
# HASH covers the Debian source version, the compiler, the options below and
# every file in packaging/windows/libisofs. A stamp file is written only
# after a successful install; build.log and build-time.txt as for Qt.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/deb-source.sh"
velkaro_cache_mode "$@"

SHIMS=$here/libisofs
CACHE=${VELKARO_CACHE:-$HOME/.cache/velkaro}
TRIPLE=x86_64-w64-mingw32
CC=$TRIPLE-gcc-posix
AR=$TRIPLE-ar

# The libisofs to build is the one the Linux build links: the same version
# writes the same image on both.
src_version=$(dpkg-query -W -f='${Version}' libisofs-dev 2>/dev/null || true)
if [ -z "$src_version" ]; then
    echo "libisofs-dev ist nicht installiert; ./dev installiert es." >&2
    exit 1
fi
version=${src_version%-*}

# Only the library, without zlib (zisofs, gzip), ACLs, extended attributes
# and Jigdo (libjte): velkaro-image uses none of them, and none has a mingw
# build in Debian. Debian's mingw has no iconv: the shim's stands in, and
# configure is told so.
OPTIONS=(
    --host="$TRIPLE"
    --disable-shared
    --enable-static
    --disable-zlib
    --disable-libacl
    --disable-xattr
    --disable-libjte
    --disable-ldconfig-at-install
    LIBISOFS_ASSUME_ICONV=yes
)
CFLAGS_USED="-O2 -g0"

compiler_version=$("$CC" --version 2>/dev/null | head -n1 || echo "no $CC")
key=$( {
    printf '%s\n' "$src_version" "$compiler_version" "$CFLAGS_USED" "${OPTIONS[@]}"
    (cd "$SHIMS" && find . -type f | LC_ALL=C sort | xargs sha256sum)
} | sha256sum | cut -c1-12)
PREFIX=$CACHE/libisofs-$version-mingw64-$key
STAMP=$PREFIX/.velkaro-libisofs-complete

velkaro_cached "$PREFIX" "$STAMP"

velkaro_need_tools "$CC" "$AR" make patch dpkg-source

SRC_PARENT=$CACHE/src
velkaro_debian_source libisofs "$src_version" "$SRC_PARENT" "libisofs-$version"

# A fresh copy of the source for every build: the patches go into it.
BUILD=$CACHE/build/libisofs-$version-mingw64
rm -rf "$PREFIX" "$BUILD"
mkdir -p "$PREFIX" "$(dirname "$BUILD")"
cp -a "$SRC_PARENT/libisofs-$version" "$BUILD"
LOG=$PREFIX/build.log
echo "Baue libisofs $version für Windows nach $PREFIX (Protokoll: $LOG)." >&2

start=$(date +%s)
{
    echo "== libisofs $version ($src_version) for $TRIPLE, key $key"
    echo "== $compiler_version"
    cd "$BUILD"
    for p in "$SHIMS"/*.patch; do
        echo "== $(basename "$p")"
        patch -p1 --forward <"$p"
    done
    # configure's own checks see the shims too (iconv.h, the types).
    flags=(-include "$SHIMS/posix.h" -I"$SHIMS/include" -I"$SHIMS")
    nice -n 10 ./configure "${OPTIONS[@]}" CC="$CC" AR="$AR" CFLAGS="$CFLAGS_USED ${flags[*]}" &&
        nice -n 10 make -j2 libisofs/libisofs.la &&
        for shim in compat iconv; do
            # shellcheck disable=SC2086 # CFLAGS_USED is a list of options
            nice -n 10 "$CC" $CFLAGS_USED "${flags[@]}" -Wall -Wextra -c "$SHIMS/$shim.c" \
                -o "velkaro-$shim.o" || exit 1
        done &&
        "$AR" rcs libisofs/.libs/libisofs.a velkaro-compat.o velkaro-iconv.o &&
        install -D -m 644 libisofs/.libs/libisofs.a "$PREFIX/lib/libisofs.a" &&
        install -D -m 644 libisofs/libisofs.h "$PREFIX/include/libisofs/libisofs.h" &&
        install -m 644 "$SHIMS/velkaro-win32.h" "$PREFIX/include/libisofs/" &&
        install -D -m 644 "$SHIMS/libisofs-config.cmake" "$PREFIX/lib/cmake/libisofs/libisofs-config.cmake"
} >"$LOG" 2>&1 || {
    echo "Der libisofs-Bau ist fehlgeschlagen; die letzten Zeilen von $LOG:" >&2
    tail -n 30 "$LOG" >&2
    exit 1
}
end=$(date +%s)

# The licence and the changes travel with the library into every package.
mkdir -p "$PREFIX/licenses" "$PREFIX/patches"
cp "$BUILD/COPYING" "$PREFIX/licenses/libisofs-GPL-2.0.txt"
cp "$BUILD/debian/copyright" "$PREFIX/licenses/libisofs-copyright.txt"
cp -r "$SHIMS"/. "$PREFIX/patches/"
echo "$version" >"$PREFIX/version.txt"
echo "$((end - start)) s on $(nproc) cores, $(date -u +%Y-%m-%dT%H:%MZ)" >"$PREFIX/build-time.txt"
touch "$STAMP"
echo "libisofs fertig nach $((end - start)) s." >&2
echo "$PREFIX"
