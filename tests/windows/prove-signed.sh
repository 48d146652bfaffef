#!/usr/bin/env bash
# The release's signing, proven on a copy of the packages: with a throwaway
# identity (tests/support/make-signing-identity.sh) make-packages.sh makes
# the ZIP and the installer as ./dev release does, Pirolo.Exe signed as the
# build signs it. Then
#   osslsigncode: every PE file of the ZIP (Pirolo.Exe among them) and the
#     installer verify against the test root, each with its time stamp;
#   Wine, as Windows checks: WinVerifyTrust (verifytrust.exe) trusts each
#     signed file and names "Marlenhof Software", answers TRUST_E_NOSIGNATURE
#     for an unsigned file and fails the changed one;
#   prove-installed.sh with the signed installer: only signed PE files
#     installed (the uninstaller too), velkaro.exe starts, OK copies the
#     signed Pirolo.Exe unchanged.
# Wine's WinVerifyTrust does not check that the root is trusted nor that the
# certificate is meant for code signing (it accepts both without), nor the
# time stamp; osslsigncode checks those here.
#   env <package settings> prove-signed.sh SOURCE_DIR UNSIGNED_PIROLO VERIFYTRUST.exe \
#       OK_RUN.exe SYSTEM_DLLS OUT_DIR
set -euo pipefail
source_dir=$1 unsigned=$2 verifytrust=$3 ok_run=$4 system_dlls=$5 out=$6
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() {
    echo "FEHLER: $*"
    exit 1
}
# Only the identity made here, whatever the caller's environment names.
unset "${!VELKARO_SIGN_@}"
id=$scratch/id
bash "$source_dir/tests/support/make-signing-identity.sh" "$id"
export VELKARO_SIGN_PKCS12=$id/signing.p12 VELKARO_SIGN_PASSWORD_FILE=$id/password.txt
export VELKARO_SIGN_TSA_CERTS=$id/tsa.pem VELKARO_SIGN_TSA_KEY=$id/tsa.key

echo "== Signierte Pakete"
mkdir -p "$scratch/bin"
bash "$source_dir/packaging/sign.sh" -n "$PRODUCT" -i "$HOMEPAGE" --copy "$unsigned" "$scratch/bin/Pirolo.Exe"
start=$SECONDS
DIST=$scratch/dist PIROLO=$scratch/bin/Pirolo.Exe bash "$source_dir/packaging/windows/make-packages.sh" >/dev/null
echo "ZIP und Installer signiert gepackt in $((SECONDS - start)) s"
zip=$scratch/dist/$PACKAGE_BASE.zip
setup=$scratch/dist/$PACKAGE_BASE-setup.exe
mkdir -p "$scratch/zip"
(cd "$scratch/zip" && cmake -E tar xf "$zip")
mapfile -t files < <(find "$scratch/zip" -type f \( -iname '*.exe' -o -iname '*.dll' \) | LC_ALL=C sort)
files+=("$setup")
[ ${#files[@]} -ge 10 ] || fail "nur ${#files[@]} PE-Dateien"
names=" ${files[*]##*/} "
for program in velkaro.exe velkaro-autostart.exe velkaro-image.exe Pirolo.Exe; do
    [[ "$names" == *" $program "* ]] || fail "$program fehlt im ZIP"
done

for file in "${files[@]}"; do
    log=$(osslsigncode verify -in "$file" -CAfile "$id/ca.pem" -TSA-CAfile "$id/ca.pem" 2>&1) ||
        { echo "$log" | tail -n 5; fail "${file#"$scratch"/} hält der Prüfung nicht stand"; }
    grep -q '^Timestamp Server Signature verification: ok' <<<"$log" ||
        fail "${file#"$scratch"/} ohne gültigen Zeitstempel"
    echo "osslsigncode: gültig, mit Zeitstempel: ${file#"$scratch"/}"
done
# One byte changed (tests/signing proves that osslsigncode notices it).
changed=$scratch/changed.exe
cp "$(find "$scratch/zip" -name velkaro.exe)" "$changed"
byte=$(od -An -tu1 -j 4096 -N 1 "$changed" | tr -d ' ')
printf "\\x$(printf %02x $((byte ^ 0xFF)))" | dd of="$changed" bs=1 seek=4096 conv=notrunc status=none

echo "== WinVerifyTrust unter Wine"
winpath() { local p=${1//\//\\}; echo "Z:$p"; }
args=(--trust "$(winpath "$id/ca.pem")")
for file in "${files[@]}" "$unsigned" "$changed"; do
    args+=("$(winpath "$file")")
done
bash "$here/wine-run.sh" "${QT_PREFIX}" "$verifytrust" "${args[@]}" | tr -d '\r' >"$scratch/trust.txt"
cat "$scratch/trust.txt"
tab=$'\t'
for file in "${files[@]}"; do
    grep -qFx "00000000${tab}Marlenhof Software${tab}$(winpath "$file")" "$scratch/trust.txt" ||
        fail "WinVerifyTrust vertraut ${file#"$scratch"/} nicht oder nennt nicht Marlenhof Software"
done
grep -qFx "800B0100${tab}${tab}$(winpath "$unsigned")" "$scratch/trust.txt" ||
    fail "WinVerifyTrust meldet für die unsignierte Datei nicht TRUST_E_NOSIGNATURE"
changed_result=$(grep -F "${tab}$(winpath "$changed")" "$scratch/trust.txt" | cut -f1)
[ -n "$changed_result" ] && [ "$changed_result" != 00000000 ] ||
    fail "WinVerifyTrust vertraut der geänderten Datei"

echo "== Der signierte Installer unter Wine"
VELKARO_SIGNED_ROOT=$id/ca.pem VELKARO_VERIFYTRUST=$verifytrust \
    bash "$here/prove-installed.sh" "$setup" "$zip" "$ok_run" "$scratch/bin" "$system_dlls" "$out"
echo "Signierte Pakete unter osslsigncode und Wine bestanden."
