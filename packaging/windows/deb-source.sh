# shellcheck shell=bash
# Debian's own source of a package, for the cross-builds of packaging/windows
# (build-qt.sh, build-libisofs.sh); sourced, not run:
#   velkaro_debian_source PACKAGE VERSION PARENT FOLDER
# unpacks the source of PACKAGE=VERSION into PARENT/FOLDER once (apt-get
# source), adding a deb-src entry for the suite the machine runs if apt has
# none. A stamp in FOLDER marks a complete unpack.

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
