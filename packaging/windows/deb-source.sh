# shellcheck shell=bash
# What the cross-builds of packaging/windows (build-qt.sh, build-libisofs.sh)
# share; sourced, not run:
#   velkaro_cache_mode ARGUMENT     sets mode to build, prefix or check
#   velkaro_cached PREFIX STAMP     ends the script for --prefix and --check,
#                                   and for a build that is already complete
#   velkaro_need_tools TOOL ...     ends it when one of the tools is missing
#   velkaro_debian_source PACKAGE VERSION PARENT FOLDER
#                                   unpacks the source of PACKAGE=VERSION into
#                                   PARENT/FOLDER once (apt-get source), adding
#                                   a deb-src entry for the suite the machine
#                                   runs if apt has none; a stamp in FOLDER
#                                   marks a complete unpack

velkaro_cache_mode() {
    mode=build
    case "${1:-}" in
        "") ;;
        --prefix) mode=prefix ;;
        --check) mode=check ;;
        *) echo "Aufruf: $0 [--prefix|--check]" >&2; exit 2 ;;
    esac
}

velkaro_cached() {
    local prefix=$1 stamp=$2
    case $mode in
        prefix) echo "$prefix"; exit 0 ;;
        check) [ -f "$stamp" ]; exit ;;
    esac
    if [ -f "$stamp" ]; then
        echo "$prefix"
        exit 0
    fi
}

velkaro_need_tools() {
    local tool
    for tool in "$@"; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "$tool fehlt; ./dev windows installiert die nötigen Pakete." >&2
            exit 1
        fi
    done
}

velkaro_ensure_deb_src() {
    # shellcheck disable=SC2016 # apt's own $(...) field, not the shell's
    if apt-get indextargets --format '$(IDENTIFIER)' 2>/dev/null | grep -qx Sources; then
        return 0
    fi
    local suite
    suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Trage deb-src für $suite ein (/etc/apt/sources.list.d/velkaro-deb-src.sources)" >&2
    "${sudo[@]}" tee /etc/apt/sources.list.d/velkaro-deb-src.sources >/dev/null <<SOURCES
# Source packages of the suite the machine runs; packaging/windows builds Qt
# and libisofs for Windows from Debian's own sources.
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $suite
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
    "${sudo[@]}" apt-get update -qq
}

velkaro_debian_source() {
    local package=$1 version=$2 parent=$3 folder=$4
    if [ -f "$parent/$folder/.velkaro-source-complete" ]; then
        return 0
    fi
    velkaro_ensure_deb_src
    rm -rf "${parent:?}/$folder" "$parent/${package}_"*
    mkdir -p "$parent"
    (cd "$parent" && apt-get source -qq "$package=$version" >&2)
    touch "$parent/$folder/.velkaro-source-complete"
}
