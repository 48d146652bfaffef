#!/usr/bin/env bash
# Pirolo.Exe signed through the build's own step (packaging/sign.sh --copy)
# with a throwaway identity, and ./dev release refusing bad identities:
#   prove-signing.sh SOURCE_DIR UNSIGNED_PIROLO
set -euo pipefail
source_dir=$1 unsigned=$2
sign=(bash "$source_dir/packaging/sign.sh" -n "Velkaro 2005" -i https://www.quenbrook.example)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# Only the identity made here, whatever the caller's environment names.
unset "${!VELKARO_SIGN_@}"
id=$scratch/id
bash "$source_dir/tests/support/make-signing-identity.sh" "$id"
fail() {
    echo "FEHLER: $*"
    exit 1
}
# flip FILE OFFSET: one byte changed.
flip() {
    local byte
    byte=$(od -An -tu1 -j "$2" -N 1 "$1" | tr -d ' ')
    printf "\\x$(printf %02x $((byte ^ 0xFF)))" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}
# Verified against the test root alone, the time stamp by the test TSA.
check_signed() {
    osslsigncode verify -in "$1" -CAfile "$id/ca.pem" -TSA-CAfile "$id/ca.pem" >"$scratch/verify.log" 2>&1 ||
        { cat "$scratch/verify.log"; fail "$1 hält der Prüfung nicht stand"; }
    for line in 'Timestamp Server Signature verification: ok' 'Text description: Velkaro 2005' \
        'Subject: /O=Marlenhof Software/CN=Marlenhof Software'; do
        grep -qF "$line" "$scratch/verify.log" || fail "$1: „$line“ fehlt in der Prüfung"
    done
}
export VELKARO_SIGN_TSA_CERTS=$id/tsa.pem VELKARO_SIGN_TSA_KEY=$id/tsa.key

echo "== PKCS#12"
signed=$scratch/Pirolo.Exe
start=$(date +%s%N)
VELKARO_SIGN_PKCS12=$id/signing.p12 VELKARO_SIGN_PASSWORD_FILE=$id/password.txt \
    "${sign[@]}" --copy "$unsigned" "$signed"
echo "signiert in $((($(date +%s%N) - start) / 1000000)) ms"
check_signed "$signed"
# Signing adds a signature and changes nothing that was built.
osslsigncode remove-signature -in "$signed" -out "$scratch/removed.exe" >/dev/null
cmp "$scratch/removed.exe" "$unsigned" || fail "ohne Signatur ist Pirolo.Exe nicht das gebaute"
cp "$signed" "$scratch/changed.exe"
flip "$scratch/changed.exe" 1500
! osslsigncode verify -in "$scratch/changed.exe" -CAfile "$id/ca.pem" -TSA-CAfile "$id/ca.pem" >/dev/null 2>&1 ||
    fail "ein geändertes Byte fiel der Prüfung nicht auf"
# Wine does not check the time stamp, so this check must: a broken stamp
# (a byte of its signature, at the end of the signature block) fails.
cp "$signed" "$scratch/stamp.exe"
end=$(stat -c %s "$signed")
while [ "$(od -An -tu1 -j $((end - 1)) -N 1 "$signed" | tr -d ' ')" = 0 ]; do
    end=$((end - 1))
done
flip "$scratch/stamp.exe" $((end - 20))
! VELKARO_SIGN_PKCS12=$id/signing.p12 VELKARO_SIGN_PASSWORD_FILE=$id/password.txt \
    "${sign[@]}" --verify "$scratch/stamp.exe" 2>/dev/null ||
    fail "ein gebrochener Zeitstempel fiel der Prüfung nicht auf"
echo "signiert, geprüft, ohne Signatur gleich dem gebauten, ein geändertes Byte und ein gebrochener Zeitstempel erkannt"

echo "== Token (SoftHSM über PKCS#11)"
export SOFTHSM2_CONF=$scratch/softhsm2.conf
mkdir -p "$scratch/tokens"
printf 'directories.tokendir = %s\nobjectstore.backend = file\nlog.level = ERROR\n' "$scratch/tokens" >"$SOFTHSM2_CONF"
module=$(find /usr/lib -name libsofthsm2.so -path '*softhsm*' | head -n 1)
echo 246810 >"$scratch/pin.txt"
softhsm2-util --init-token --free --label velkaro --pin 246810 --so-pin 135791 >/dev/null
openssl pkcs8 -topk8 -nocrypt -in "$id/signing.key" -outform DER -out "$scratch/key.der"
pkcs11-tool --module "$module" --token-label velkaro --login --pin 246810 \
    --write-object "$scratch/key.der" --type privkey --id 01 --label signing >/dev/null
rm "$scratch/key.der"
VELKARO_SIGN_PKCS11_MODULE=$module VELKARO_SIGN_CERT=$id/chain.pem \
    VELKARO_SIGN_PKCS11_KEY="pkcs11:token=velkaro;object=signing;type=private" \
    VELKARO_SIGN_PASSWORD_FILE=$scratch/pin.txt "${sign[@]}" --copy "$unsigned" "$scratch/token.exe"
check_signed "$scratch/token.exe"
echo "mit dem Schlüssel im Token signiert und geprüft"

echo "== ./dev release mit unbrauchbarer Identität"
echo falsch >"$scratch/wrong.txt"
unset VELKARO_SIGN_TSA_CERTS VELKARO_SIGN_TSA_KEY
# refuse EXPECTED_TEXT VARIABLE=VALUE ...
refuse() {
    local expected=$1 status=0
    shift
    env "$@" "$source_dir/dev" release "$scratch/release" >"$scratch/release.log" 2>&1 || status=$?
    [ $status -ne 0 ] || fail "./dev release ($*) wurde nicht verweigert"
    grep -qF "$expected" "$scratch/release.log" || { cat "$scratch/release.log"; fail "Meldung „$expected“ fehlt"; }
    [ ! -e "$scratch/release" ] || fail "./dev release ($*) ließ etwas zurück: $(ls -A "$scratch/release")"
    echo "verweigert: $(head -n 1 "$scratch/release.log")"
}
refuse "Keine Veröffentlichung ohne Signatur"
refuse "falsches Passwort" VELKARO_SIGN_PKCS12="$id/signing.p12" VELKARO_SIGN_PASSWORD_FILE="$scratch/wrong.txt"
refuse "nicht für Codesignaturen ausgestellt" VELKARO_SIGN_PKCS12="$id/noeku.p12" VELKARO_SIGN_PASSWORD_FILE="$id/password.txt"
echo "Signieren mit PKCS#12 und Token und die Weigerungen von ./dev release bestanden."
