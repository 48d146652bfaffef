#!/usr/bin/env bash
# Signs the Windows files that Velkaro ships with the maker's identity
# (Authenticode, SHA-256, osslsigncode). The one way of signing: the build
# (Pirolo.Exe), make-packages.sh and the installer script, ./dev release and
# the tests all call it. The identity comes from the environment:
#   VELKARO_SIGN_PKCS12, VELKARO_SIGN_PASSWORD_FILE
#       a PKCS#12 file with key and chain, and a file holding its password
#   VELKARO_SIGN_PKCS11_MODULE, VELKARO_SIGN_PKCS11_KEY, VELKARO_SIGN_CERT
#       a token: its PKCS#11 library, the key's PKCS#11 URI, the chain (PEM,
#       the signing certificate first); a PIN in VELKARO_SIGN_PASSWORD_FILE
#   VELKARO_SIGN_TIMESTAMP_URL
#       an RFC 3161 server: every signature is then time-stamped
#   VELKARO_SIGN_TSA_CERTS, VELKARO_SIGN_TSA_KEY [, VELKARO_SIGN_TSA_TIME]
#       time stamps made by osslsigncode itself, without a server (tests)
#
#   sign.sh --identity             0: complete; 3: none given; otherwise 1
#                                  and a German message that says why
#   sign.sh [-n TEXT] [-i URL] FILE ...
#                                  signs each file in place and verifies it;
#                                  without an identity it does nothing
#   sign.sh [-n TEXT] [-i URL] --copy SOURCE TARGET
#                                  TARGET becomes SOURCE signed (a copy
#                                  without an identity); signed again only
#                                  when SOURCE or the identity changed
#   sign.sh --verify FILE ...      each file carries an intact signature by
#                                  the identity's certificate, time-stamped
#                                  when signing time-stamps
set -euo pipefail

die() {
    echo "$*" >&2
    exit 1
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The identity: which kind, its certificates (leaf.pem, chain.pem in $work).
kind=""
identity() {
    local p12=${VELKARO_SIGN_PKCS12:-} module=${VELKARO_SIGN_PKCS11_MODULE:-}
    local key=${VELKARO_SIGN_PKCS11_KEY:-} cert=${VELKARO_SIGN_CERT:-}
    local pass=${VELKARO_SIGN_PASSWORD_FILE:-}
    [ -n "$p12$module$key$cert$pass${VELKARO_SIGN_TIMESTAMP_URL:-}${VELKARO_SIGN_TSA_CERTS:-}" ] ||
        return 3
    local tool
    for tool in osslsigncode openssl; do
        command -v "$tool" >/dev/null ||
            die "$tool fehlt (Debian-Paket $tool; ./dev installiert es)."
    done
    if [ -n "$p12" ] && [ -n "$module$key" ]; then
        die "Signaturidentität nicht eindeutig: VELKARO_SIGN_PKCS12 und VELKARO_SIGN_PKCS11_* sind beide gesetzt."
    fi
    if [ -n "$p12" ]; then
        [ -f "$p12" ] || die "Die PKCS#12-Datei „$p12“ (VELKARO_SIGN_PKCS12) gibt es nicht."
        [ -n "$pass" ] || die "VELKARO_SIGN_PKCS12 ist gesetzt, aber VELKARO_SIGN_PASSWORD_FILE (die Datei mit dem Passwort) nicht."
        [ -r "$pass" ] || die "Die Passwortdatei „$pass“ (VELKARO_SIGN_PASSWORD_FILE) lässt sich nicht lesen."
        local legacy
        for legacy in "" -legacy; do
            if openssl pkcs12 $legacy -in "$p12" -passin "file:$pass" -nokeys -clcerts \
                -out "$work/leaf.pem" 2>/dev/null &&
                openssl pkcs12 $legacy -in "$p12" -passin "file:$pass" -nokeys \
                    -out "$work/chain.pem" 2>/dev/null; then
                kind=pkcs12
                break
            fi
        done
        [ -n "$kind" ] ||
            die "Die PKCS#12-Datei „$p12“ lässt sich mit dem Passwort aus „$pass“ nicht öffnen (falsches Passwort?)."
    elif [ -n "$module$key$cert" ]; then
        [ -n "$module" ] && [ -n "$key" ] && [ -n "$cert" ] ||
            die "Für einen Token sind VELKARO_SIGN_PKCS11_MODULE, VELKARO_SIGN_PKCS11_KEY und VELKARO_SIGN_CERT alle nötig."
        [ -f "$module" ] || die "Die PKCS#11-Bibliothek „$module“ (VELKARO_SIGN_PKCS11_MODULE) gibt es nicht."
        [ -z "$pass" ] || [ -r "$pass" ] || die "Die PIN-Datei „$pass“ (VELKARO_SIGN_PASSWORD_FILE) lässt sich nicht lesen."
        openssl x509 -in "$cert" -out "$work/leaf.pem" 2>/dev/null ||
            die "„$cert“ (VELKARO_SIGN_CERT) enthält kein Zertifikat im PEM-Format."
        cp "$cert" "$work/chain.pem"
        kind=pkcs11
    else
        die "Unvollständige Signaturidentität: es fehlt VELKARO_SIGN_PKCS12 oder VELKARO_SIGN_PKCS11_MODULE mit VELKARO_SIGN_PKCS11_KEY und VELKARO_SIGN_CERT."
    fi
    # Windows accepts no code signature from a certificate without that use.
    openssl x509 -in "$work/leaf.pem" -noout -ext extendedKeyUsage 2>/dev/null |
        grep -q 'Code Signing' ||
        die "Das Zertifikat „$(openssl x509 -in "$work/leaf.pem" -noout -subject -nameopt oneline | sed 's/^subject=//')“ ist nicht für Codesignaturen ausgestellt (erweiterte Schlüsselverwendung „Code Signing“ fehlt)."
    openssl x509 -in "$work/leaf.pem" -noout -checkend 0 >/dev/null ||
        die "Das Signaturzertifikat ist abgelaufen oder noch nicht gültig."
    if [ -n "${VELKARO_SIGN_TSA_CERTS:-}${VELKARO_SIGN_TSA_KEY:-}" ]; then
        [ -f "${VELKARO_SIGN_TSA_CERTS:-}" ] && [ -f "${VELKARO_SIGN_TSA_KEY:-}" ] ||
            die "VELKARO_SIGN_TSA_CERTS und VELKARO_SIGN_TSA_KEY müssen beide auf Dateien zeigen."
    fi
    return 0
}

time_stamped() {
    [ -n "${VELKARO_SIGN_TIMESTAMP_URL:-}${VELKARO_SIGN_TSA_CERTS:-}" ]
}

# verify FILE: 0 when signed intact by the identity's certificate. The
# identity's own chain and the system's roots are trusted: the point is that
# the file carries this signature unbroken, not who trusts the maker.
leaf_hash=""
verify() {
    if [ -z "$leaf_hash" ]; then
        leaf_hash=$(openssl x509 -in "$work/leaf.pem" -outform DER | sha256sum | cut -d' ' -f1)
        cat /etc/ssl/certs/ca-certificates.crt "$work/chain.pem" >"$work/trusted.pem" 2>/dev/null ||
            cp "$work/chain.pem" "$work/trusted.pem"
        cp "$work/trusted.pem" "$work/tsa-trusted.pem"
        [ -z "${VELKARO_SIGN_TSA_CERTS:-}" ] || cat "$VELKARO_SIGN_TSA_CERTS" >>"$work/tsa-trusted.pem"
    fi
    if ! osslsigncode verify -in "$1" -CAfile "$work/trusted.pem" -TSA-CAfile "$work/tsa-trusted.pem" \
        -require-leaf-hash "sha256:$leaf_hash" >"$work/verify.log" 2>&1; then
        return 1
    fi
    if time_stamped && ! grep -q '^Timestamp Server Signature verification: ok' "$work/verify.log"; then
        echo "ohne gültigen Zeitstempel" >>"$work/verify.log"
        return 1
    fi
}

description="" url=""
sign_one() {
    local file=$1 out=$work/signed
    local args=(sign -h sha256)
    [ -z "$description" ] || args+=(-n "$description")
    [ -z "$url" ] || args+=(-i "$url")
    if [ "$kind" = pkcs12 ]; then
        args+=(-pkcs12 "$VELKARO_SIGN_PKCS12" -readpass "$VELKARO_SIGN_PASSWORD_FILE")
    else
        args+=(-pkcs11module "$VELKARO_SIGN_PKCS11_MODULE" -certs "$VELKARO_SIGN_CERT"
               -key "$VELKARO_SIGN_PKCS11_KEY")
        [ -z "${VELKARO_SIGN_PASSWORD_FILE:-}" ] || args+=(-readpass "$VELKARO_SIGN_PASSWORD_FILE")
    fi
    [ -z "${VELKARO_SIGN_TIMESTAMP_URL:-}" ] || args+=(-ts "$VELKARO_SIGN_TIMESTAMP_URL")
    if [ -n "${VELKARO_SIGN_TSA_CERTS:-}" ]; then
        args+=(-TSA-certs "$VELKARO_SIGN_TSA_CERTS" -TSA-key "$VELKARO_SIGN_TSA_KEY"
               -TSA-time "${VELKARO_SIGN_TSA_TIME:-$(date +%s)}")
    fi
    rm -f "$out"
    if ! osslsigncode "${args[@]}" -in "$file" -out "$out" >"$work/sign.log" 2>&1; then
        cat "$work/sign.log" >&2
        die "Signieren von „$file“ fehlgeschlagen (Signatur oder Zeitstempel)."
    fi
    if ! verify "$out"; then
        tail -n 5 "$work/verify.log" >&2
        die "Die neue Signatur von „$file“ hält der Prüfung nicht stand."
    fi
    # In place, keeping the file's mode.
    cat "$out" >"$file"
}

while [ $# -gt 0 ]; do
    case $1 in
        -n) description=$2; shift 2 ;;
        -i) url=$2; shift 2 ;;
        *) break ;;
    esac
done

status=0
identity || status=$?
case ${1:-} in
    --identity)
        exit $status
        ;;
    --verify)
        shift
        [ $status -eq 0 ] || die "Ohne Signaturidentität lässt sich keine Signatur prüfen."
        failed=0
        for file in "$@"; do
            if ! verify "$file"; then
                echo "Nicht (gültig) signiert: $file" >&2
                grep -E 'No signature|[Ff]ailed|error|ohne' "$work/verify.log" | head -n 3 | sed 's/^/    /' >&2
                failed=1
            fi
        done
        exit $failed
        ;;
    --copy)
        source=$2 target=$3
        if [ $status -eq 3 ]; then
            cmp -s "$source" "$target" 2>/dev/null || cp "$source" "$target"
            rm -f "$target.signature"
            exit 0
        fi
        # What the signed target was made from; the time stamp makes every
        # signature new, so an unchanged one is kept.
        made_from="$(sha256sum <"$source") $(sha256sum <"$work/leaf.pem") ${VELKARO_SIGN_TIMESTAMP_URL:-} ${VELKARO_SIGN_TSA_CERTS:-}"
        if [ -f "$target" ] && [ "$(cat "$target.signature" 2>/dev/null)" = "$made_from" ] &&
            verify "$target"; then
            exit 0
        fi
        cp "$source" "$work/copy"
        sign_one "$work/copy"
        cp "$work/copy" "$target"
        echo "$made_from" >"$target.signature"
        ;;
    *)
        [ $status -ne 3 ] || exit 0
        for file in "$@"; do
            sign_one "$file"
        done
        ;;
esac
