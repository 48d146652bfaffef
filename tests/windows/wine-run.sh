#!/usr/bin/env bash
# Runs a Windows program of the build under wine64; CTest's emulator for the
# windows preset:  wine-run.sh QT_PREFIX PROGRAM.exe [ARGUMENT ...]
#
# The Qt DLLs come from QT_PREFIX/bin, the mingw runtime from Debian's
# packages. The Wine prefix is WINEPREFIX when set (./dev windows makes a
# fresh one for each run); otherwise one of the user's own, made on first use.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/wine-prefix.sh"
qt=$1
shift

# A program that shows real windows needs a prefix whose desktop was started
# on an X server, not the shared one that programs on the offscreen platform
# started without one: VELKARO_WINE_OWN_PREFIX=1 gives it a fresh prefix,
# removed afterwards.
own=""
if [ "${VELKARO_WINE_OWN_PREFIX:-}" = 1 ]; then
    own=$(mktemp -d)
    export WINEPREFIX=$own/wine
elif [ -z "${WINEPREFIX:-}" ]; then
    export WINEPREFIX=${VELKARO_CACHE:-$HOME/.cache/velkaro}/wine-tests
fi
export WINEDEBUG=${WINEDEBUG:-fixme-all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml=;winemenubuilder.exe=d"}
export WINEARCH=win64
# Without a Windows console Qt writes its messages and the test results to
# the debugger (OutputDebugString); they belong in the test's output.
export QT_FORCE_STDERR_LOGGING=1
# The offscreen platform of the tests draws text with the host's DejaVu
# (fonts-dejavu-core, which Qt pulls in through fontconfig); it has no fonts
# of its own. Without them the tests pass all the same, with a warning.
if [ -z "${QT_QPA_FONTDIR:-}" ] && [ -d /usr/share/fonts/truetype/dejavu ]; then
    export QT_QPA_FONTDIR=Z:/usr/share/fonts/truetype/dejavu
fi
# Wine keeps QT_* variables of the host away from Windows programs and hands
# on WINEQT_* under the name without "WINE" instead.
while IFS='=' read -r name _; do
    case $name in
        QT_*) export "WINE$name=${!name}" ;;
    esac
done < <(env)

# Windows paths of Unix folders: Wine shows the root file system as Z:.
windows_path() {
    local p=${1//\//\\}
    echo "Z:$p"
}
runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
export WINEPATH="$(windows_path "$qt/bin");$(windows_path "$runtime");$(windows_path /usr/x86_64-w64-mingw32/lib)"

# The prefix is made on first use; two tests that start at once must not
# both make it. The first program of a Wine server starts Wine's services,
# which keep that program's output open for as long as the server lives:
# CTest would wait for them after every test. So the server and its
# services are started here, with nothing of the test's output (nor the
# lock), and stay a minute after the last program; a running server is left
# as it is. A caller that has started them itself says so with
# VELKARO_WINE_SERVER_UP=1.
if [ "${VELKARO_WINE_SERVER_UP:-}" != 1 ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            wineboot -i </dev/null >/dev/null 2>&1 9>&-
            velkaro_dress_wine_prefix 9>&-
        fi
        wineserver -p60 </dev/null >/dev/null 2>&1 9>&- || true
        wine cmd /c exit </dev/null >/dev/null 2>&1 9>&- || true
    ) 9>"$WINEPREFIX.lock"
fi

# Wine's own complaints (a DLL it cannot load, a crash, a lost server) are
# kept out of the test's output, but a program that fails without a word of
# its own gets them shown, with its status: a silent failure cannot be mended.
log=$(mktemp "${TMPDIR:-/tmp}/wine-run.XXXXXX")
cleanup() {
    rm -f "$log"
    if [ -n "$own" ]; then
        wineserver -k 2>/dev/null || true
        rm -rf "$own"
    fi
}
trap cleanup EXIT
status=0
wine "$@" >"$log" 2>&1 || status=$?
wine_line='^([0-9a-f]{4}:)*(err|warn|fixme|trace):|^wine: |^wine client error'
# Debian's wine script says on every call that 32-bit Wine is missing (on
# purpose: only 64-bit programs run here).
grep -Eav '^it looks like wine32 is missing|^multiarch needs to be enabled|^execute "dpkg --add-arch|^apt-get install wine32' \
    "$log" >"$log.own" || true
mv "$log.own" "$log"
grep -Eav "$wine_line" "$log" || true
if [ "$status" -ne 0 ] && ! grep -Eavq "$wine_line" "$log"; then
    {
        echo "wine-run: $(basename "$1") endete mit Status $status, ohne eine Zeile eigener Ausgabe."
        if grep -Eaq "$wine_line" "$log"; then
            echo "Wine meldete dabei:"
            grep -Ea "$wine_line" "$log" | head -n 40
        else
            echo "Auch Wine meldete nichts."
        fi
        echo "Wine-Server auf diesem Rechner: $(pgrep -c wineserver || true) (Präfix $WINEPREFIX)"
    } >&2
fi
exit "$status"
