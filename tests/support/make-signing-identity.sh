#!/usr/bin/env bash
# A throwaway signing identity for the tests, made fresh in FOLDER (never
# committed):  make-signing-identity.sh FOLDER
#   ca.pem            the test root, trusted by the tests only
#   signing.p12       key and chain of "Marlenhof Software" (code signing),
#   password.txt      its password
#   signing.key/.pem  the same key and certificate apart, for the token test
#   chain.pem         signing.pem and ca.pem
#   noeku.p12         a certificate of the same root without code signing
#   tsa.key, tsa.pem  a time-stamp authority of the same root
#   unix-time.txt     now, for the offline time stamps
set -euo pipefail
dir=$1
mkdir -p "$dir"
cd "$dir"
days=30
subject="/O=Marlenhof Software/CN=Marlenhof Software"

openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days $days -sha256 \
    -subj "/O=Velkaro Test/CN=Velkaro Test-CA" \
    -addext basicConstraints=critical,CA:true -addext keyUsage=critical,keyCertSign,cRLSign \
    2>/dev/null

# issue NAME SUBJECT EXTENDED_KEY_USAGE
issue() {
    openssl req -new -newkey rsa:2048 -nodes -keyout "$1.key" -out "$1.csr" -subj "$2" 2>/dev/null
    printf 'basicConstraints=CA:false\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=%s\n' \
        "$3" >"$1.ext"
    openssl x509 -req -in "$1.csr" -CA ca.pem -CAkey ca.key -CAcreateserial -days $days -sha256 \
        -extfile "$1.ext" -out "$1.pem" 2>/dev/null
    rm -f "$1.csr" "$1.ext"
}
issue signing "$subject" codeSigning
issue noeku "$subject" serverAuth
issue tsa "/O=Velkaro Test/CN=Velkaro Test-Zeitstempel" critical,timeStamping

cat signing.pem ca.pem >chain.pem
printf 'Test-%s\n' "$(openssl rand -hex 8)" >password.txt
for name in signing noeku; do
    openssl pkcs12 -export -inkey $name.key -in $name.pem -certfile ca.pem -name "$name" \
        -passout file:password.txt -out $name.p12
done
date +%s >unix-time.txt
