# Sourced by the scripts that make a Wine prefix for the Windows build's
# tests and proofs. A fresh prefix lacks what makes Windows programs look as
# they do on Windows; velkaro_dress_wine_prefix adds it to $WINEPREFIX, whose
# server must be up (wineboot done).
#
# - Without a window manager Wine draws frames and title bars itself (3 px
#   border, 22 px caption), as Windows does; the placement test measures
#   them and the screenshots show them.
# - Wine's own fonts (Debian's fonts-wine) lie where a new prefix does not
#   look: without Tahoma Qt's text fields draw no text at all, without
#   Marlett the title bar buttons have no symbols. They are copied into the
#   prefix, and Windows' dialog font names are led to Tahoma.
velkaro_dress_wine_prefix() {
    local fonts=$WINEPREFIX/drive_c/windows/Fonts font
    mkdir -p "$fonts"
    for font in tahoma.ttf tahomabd.ttf marlett.ttf; do
        if [ -f "/usr/share/wine/fonts/$font" ]; then
            cp "/usr/share/wine/fonts/$font" "$fonts/"
        else
            echo "Hinweis: /usr/share/wine/fonts/$font fehlt (Paket fonts-wine)" >&2
        fi
    done
    local reg
    reg=$(mktemp "${TMPDIR:-/tmp}/velkaro-prefix.XXXXXX.reg")
    printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
        '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Decorated"="N"' '' \
        '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\Fonts]' \
        '"Tahoma (TrueType)"="tahoma.ttf"' '"Tahoma Bold (TrueType)"="tahomabd.ttf"' \
        '"Marlett (TrueType)"="marlett.ttf"' '' \
        '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]' \
        '"MS Shell Dlg"="Tahoma"' '"MS Shell Dlg 2"="Tahoma"' '"Segoe UI"="Tahoma"' \
        >"$reg"
    wine regedit /S "Z:${reg//\//\\}" </dev/null >/dev/null 2>&1
    rm -f "$reg"
}
