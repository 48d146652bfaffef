#!/usr/bin/env bash
# The installer under Wine, in a fresh Wine prefix on an X server of its own:
#   for all users (the default for an administrator, which Wine's user is):
#     silent install; the installed files are exactly the ZIP's plus the
#     uninstaller; their imports are satisfied; the Start-menu entry exists;
#     velkaro.exe starts and shows the window "Velkaro 2005" (screenshot);
#     a scripted OK run with the installed DLLs copies the installed
#     Pirolo.Exe, which is the build's byte for byte, and so does the
#     installed velkaro-autostart.exe; the installed velkaro-image.exe
#     starts (--version); the uninstaller leaves neither a file, nor the
#     entry, nor its registry key.
#   for the current user (/CurrentUser): install into the user's programs
#   folder and uninstall again, leaving nothing.
# With VELKARO_SIGNED_ROOT and VELKARO_VERIFYTRUST (prove-signed.sh) every
# installed PE file, the uninstaller too, must carry a valid signature of that
# root, for osslsigncode and for WinVerifyTrust.
#
#   xvfb-run -a -s "-screen 0 1024x768x24" prove-installed.sh \
#       SETUP.exe PACKAGE.zip OK_RUN.exe BUILD_BIN SYSTEM_DLLS OUT_DIR
set -euo pipefail
setup=$1 zip=$2 ok_run=$3 build_bin=$4 system_dlls=$5 out=$6
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# The program runs on the windows platform of the package, not offscreen.
unset QT_QPA_PLATFORM QT_PLUGIN_PATH WINEQT_QPA_PLATFORM WINEQT_PLUGIN_PATH

for tool in wine wineboot wineserver xdotool import identify convert; do
    command -v "$tool" >/dev/null || { echo "$tool fehlt (./dev windows installiert es)"; exit 1; }
done
[ -n "${DISPLAY:-}" ] || { echo "kein X-Server (DISPLAY); unter xvfb-run starten"; exit 1; }

scratch=$(mktemp -d)
export WINEPREFIX=$scratch/wine
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64
cleanup() {
    wineserver -k 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT
mkdir -p "$out"
fail() {
    echo "FEHLER: $*"
    exit 1
}

# A German Windows: Wine takes its code page, date and time formats from the
# locale, which is made here because the machine may have none installed.
if command -v localedef >/dev/null && [ -f /usr/share/i18n/locales/de_DE ]; then
    mkdir -p "$scratch/locale"
    if localedef -i de_DE -f UTF-8 "$scratch/locale/de_DE.UTF-8" >/dev/null 2>&1; then
        export LOCPATH=$scratch/locale LC_ALL=de_DE.UTF-8 LANG=de_DE.UTF-8
        unset LANGUAGE
    fi
fi
[ -n "${LOCPATH:-}" ] || echo "Hinweis: kein deutsches Gebietsschema (Paket locales), Wine läuft englisch"

wineboot -i >/dev/null 2>&1
# Frames and title bars drawn as Windows does, Windows' dialog fonts.
source "$here/wine-prefix.sh"
velkaro_dress_wine_prefix
wineserver -w
drive_c=$WINEPREFIX/drive_c

# What the ZIP holds, relative to its top folder: the installer must put
# exactly this (and its uninstaller) on the disk.
unzipped=$scratch/zip
mkdir -p "$unzipped"
(cd "$unzipped" && cmake -E tar xf "$zip")
top=$(find "$unzipped" -mindepth 1 -maxdepth 1 -type d)
expected=$( (cd "$top" && find . -type f; echo ./uninstall.exe) | sed 's|^\./||' | LC_ALL=C sort)

# Waits until the folder is gone: the uninstaller copies itself away and
# runs from there, so the first process ends before the work is done.
wait_gone() {
    local i
    for i in $(seq 1 300); do
        [ -e "$1" ] || return 0
        sleep 0.2
    done
    return 1
}

uninstall_key='Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\Velkaro 2005'

# One round: install with the given switches into the expected folder,
# optionally prove the program, uninstall, check that nothing is left.
round() {
    local mode=$1 instdir=$2 winstdir=$3 menu=$4 regfile=$5 prove=$6 path_switch=${7:-}
    echo "== Installation $mode $path_switch nach $winstdir"
    local start=$SECONDS
    wine "$setup" /S "/$mode" $path_switch
    wineserver -w
    # The program folder is on the PATH only when asked for (/PATH).
    if [ -n "$path_switch" ]; then
        on_path "$winstdir" || fail "der Programmordner fehlt im PATH: $(user_path)"
    else
        ! on_path "$winstdir" || fail "der Programmordner steht ungefragt im PATH"
    fi
    [ -f "$instdir/velkaro.exe" ] || fail "velkaro.exe fehlt nach der Installation in $instdir"
    local installed
    installed=$( (cd "$instdir" && find . -type f) | sed 's|^\./||' | LC_ALL=C sort)
    if [ "$installed" != "$expected" ]; then
        diff <(echo "$expected") <(echo "$installed") || true
        fail "die installierten Dateien sind nicht die des Pakets"
    fi
    echo "installiert: $(echo "$installed" | wc -l) Dateien in $((SECONDS - start)) s"
    [ -f "$menu" ] || fail "kein Startmenü-Eintrag $menu"
    grep -q "^\[$uninstall_key\]" "$regfile" || fail "kein Eintrag unter Programme und Features"
    bash "$here/check-imports.sh" "$instdir" "$system_dlls"
    [ -z "${VELKARO_SIGNED_ROOT:-}" ] || prove_signed "$instdir"

    if [ "$prove" = yes ]; then
        prove_program "$instdir" "$winstdir"
    fi

    echo "== Deinstallation"
    wine "$winstdir\\uninstall.exe" /S
    wait_gone "$instdir" || {
        find "$instdir"
        fail "der Programmordner ist nach der Deinstallation nicht leer"
    }
    wineserver -w
    [ ! -e "$menu" ] || fail "der Startmenü-Eintrag blieb"
    ! on_path "$winstdir" || fail "der Programmordner blieb im PATH: $(user_path)"
    ! grep -q "^\[$uninstall_key\]" "$regfile" || fail "der Eintrag unter Programme und Features blieb"
    local left
    left=$(find "$drive_c" -iname '*velkaro*' ! -ipath '*/velkaro-proof/*' | grep -v 'Marlenhof' || true)
    [ -z "$left" ] || fail "nach der Deinstallation blieb: $left"
    echo "deinstalliert: nichts blieb"
}

# The PATH of the current user and of all users, as the registry holds them.
user_path() {
    wine reg query 'HKCU\Environment' /v Path 2>/dev/null | tr -d '\r' || true
    wine reg query 'HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\Environment' /v Path \
        2>/dev/null | tr -d '\r' || true
}
on_path() {
    local path
    path=$(user_path)
    grep -qiF "$1" <<<"$path"
}

prove_signed() {
    local file log count=0 names=()
    while IFS= read -r -d '' file; do
        # osslsigncode ends with success on a broken time stamp too.
        log=$(osslsigncode verify -in "$file" -CAfile "$VELKARO_SIGNED_ROOT" \
            -TSA-CAfile "$VELKARO_SIGNED_ROOT" 2>&1) &&
            grep -q '^Timestamp Server Signature verification: ok' <<<"$log" ||
            fail "installiert, aber nicht gültig signiert: ${file#"$1"/}"
        names+=("Z:${file//\//\\}")
        count=$((count + 1))
    done < <(find "$1" -type f \( -iname '*.exe' -o -iname '*.dll' \) -print0)
    wine "$VELKARO_VERIFYTRUST" --trust "Z:${VELKARO_SIGNED_ROOT//\//\\}" "${names[@]}" |
        tr -d '\r' >"$scratch/trust.txt"
    if grep -v "^00000000"$'\t'"Marlenhof Software"$'\t' "$scratch/trust.txt"; then
        fail "WinVerifyTrust vertraut nicht jeder installierten Datei"
    fi
    [ "$(wc -l <"$scratch/trust.txt")" -eq $count ] || fail "WinVerifyTrust prüfte nicht jede Datei"
    echo "signiert: alle $count installierten PE-Dateien (osslsigncode und WinVerifyTrust)"
}

prove_program() {
    local instdir=$1 winstdir=$2
    echo "== velkaro.exe starten"
    local t0 t1 wid=""
    t0=$(date +%s%N)
    wine "$winstdir\\velkaro.exe" &
    local pid=$!
    for _ in $(seq 1 1500); do
        wid=$(xdotool search --onlyvisible --name '^Velkaro 2005$' 2>/dev/null | head -n 1 || true)
        [ -n "$wid" ] && break
        sleep 0.02
    done
    t1=$(date +%s%N)
    [ -n "$wid" ] || fail "das Fenster \"Velkaro 2005\" erschien nicht"
    echo "Fenster \"Velkaro 2005\" sichtbar nach $(((t1 - t0) / 1000000)) ms (xdotool, Fenster $wid)"
    # Until the first paint is through.
    sleep 3
    import -window "$wid" "$out/windows-main.png"
    import -window root "$out/windows-screen.png"
    echo "Bildschirmfoto: $out/windows-main.png"
    # Both path fields must show "(Bitte wählen ...)": where the text begins
    # there are dark pixels; an empty field (Qt without its font) is white.
    # The picture is the client area of 585 x 232 pixels in Wine's frame.
    local w h border top y dark
    read -r w h < <(identify -format '%w %h\n' "$out/windows-main.png")
    border=$(((w - 585) / 2))
    top=$((h - 232 - border))
    for y in 28 88; do
        dark=$(convert "$out/windows-main.png" -crop "100x13+$((border + 23))+$((top + y + 4))" \
            -colorspace Gray -threshold 50% -format '%[fx:1-mean]' info:)
        awk -v d="$dark" 'BEGIN { exit !(d > 0.03) }' ||
            fail "das Pfadfeld $y Pixel unter dem Fensterrand zeigt keinen Text (dunkel: $dark)"
    done
    wine taskkill /IM velkaro.exe >/dev/null 2>&1 || true
    for _ in $(seq 1 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && fail "velkaro.exe endete nach WM_CLOSE nicht"
    wait "$pid" || true

    echo "== Scripted OK mit den installierten DLLs"
    cmp "$instdir/Pirolo.Exe" "$build_bin/Pirolo.Exe" || fail "installiertes Pirolo.Exe ist nicht das gebaute"
    local cd="$scratch/velkaro-proof/CD"
    mkdir -p "$cd"
    # Wine hands WINEQT_PLUGIN_PATH on as QT_PLUGIN_PATH. Wine's own errors
    # are kept, so that a run that fails says why.
    local status=0
    WINEDEBUG=err+all WINEPATH="$winstdir" WINEQT_PLUGIN_PATH="$winstdir" \
        wine "$ok_run" "$winstdir" "Z:${cd//\//\\}" >"$scratch/ok_run.log" 2>&1 || status=$?
    if [ $status -ne 0 ]; then
        echo "ok_run endete mit Status $status; seine Ausgabe und die Wines:"
        grep -av '^it looks like wine32\|^multiarch needs\|^execute "dpkg\|^apt-get install wine32' \
            "$scratch/ok_run.log" | head -n 60
        echo "Dateien im CD-Ordner:"
        (cd "$cd" && find . -printf '%M %8s %p\n' | LC_ALL=C sort)
        fail "der OK-Lauf schlug fehl"
    fi
    cmp "$cd/Pirolo.Exe" "$build_bin/Pirolo.Exe" || fail "Pirolo.Exe auf der CD ist nicht das gebaute"
    [ -f "$cd/AutoRun.Inf" ] || fail "AutoRun.Inf fehlt auf der CD"

    echo "== velkaro-autostart.exe mit den installierten DLLs"
    rm -rf "$cd" && mkdir -p "$cd"
    wine "$winstdir\\velkaro-autostart.exe" "Z:${cd//\//\\}" --open . --folder --icon library:1 \
        || fail "velkaro-autostart.exe schlug fehl"
    cmp "$cd/Pirolo.Exe" "$build_bin/Pirolo.Exe" || fail "velkaro-autostart.exe kopierte ein anderes Pirolo.Exe"
    grep -q '^icon = AutoRun.Ico' "$cd/AutoRun.Inf" || fail "AutoRun.Inf von velkaro-autostart.exe nennt kein Icon"
    [ -f "$cd/AutoRun.Ico" ] || fail "AutoRun.Ico fehlt"

    echo "== velkaro-image.exe mit den installierten DLLs"
    local said
    said=$(wine "$winstdir\\velkaro-image.exe" --version | tr -d '\r') || fail "velkaro-image.exe startete nicht"
    [[ "$said" == "velkaro-image (Velkaro 2005) "[0-9]* ]] || fail "velkaro-image.exe --version sagt: $said"
    echo "$said"
}

round AllUsers "$drive_c/Program Files/Velkaro 2005" 'C:\Program Files\Velkaro 2005' \
    "$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Velkaro 2005.lnk" \
    "$WINEPREFIX/system.reg" yes
user=$(basename "$(find "$drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -n 1)")
round CurrentUser "$drive_c/users/$user/AppData/Local/Programs/Velkaro 2005" \
    "C:\\users\\$user\\AppData\\Local\\Programs\\Velkaro 2005" \
    "$drive_c/users/$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Velkaro 2005.lnk" \
    "$WINEPREFIX/user.reg" no /PATH
echo "Installation, Start, OK-Lauf und Deinstallation unter Wine bestanden."
