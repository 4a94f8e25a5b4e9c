#!/usr/bin/env bash
# Signs Windows files in place with Authenticode (Debian's osslsigncode): with the
# certificate and key in the PKCS#12 file $SORELIN_SIGN_PFX, whose password is read
# from the file $SORELIN_SIGN_PASSWORD_FILE, never given on a command line, and with
# an RFC 3161 time stamp from $SORELIN_SIGN_TIMESTAMP_URL when that is set.
#   sign-windows.sh --check   the password opens the file and the certificate is valid
#   sign-windows.sh FILE...   signs each .exe, .dll or .msi
# Without a time stamp the signature carries $SOURCE_DATE_EPOCH as its time, so two
# builds signed with one certificate are the same bytes. Called by build-windows.sh
# and by makensis (!finalize, !uninstfinalize), which hand their environment down.
set -euo pipefail
fail() { echo "sign-windows: $*" >&2; exit 1; }
pfx=${SORELIN_SIGN_PFX:-}
pass=${SORELIN_SIGN_PASSWORD_FILE:-}
[ -n "$pfx" ] && [ -n "$pass" ] || fail "set both SORELIN_SIGN_PFX and SORELIN_SIGN_PASSWORD_FILE, or neither"
[ -r "$pfx" ] || fail "cannot read the certificate file $pfx"
[ -r "$pass" ] || fail "cannot read the password file $pass"

if [ "${1:-}" = --check ]; then
    cert=$(openssl pkcs12 -in "$pfx" -passin "file:$pass" -nokeys -clcerts 2>/dev/null) \
        || fail "the password in $pass does not open $pfx"
    openssl pkcs12 -in "$pfx" -passin "file:$pass" -nocerts -noenc 2>/dev/null | grep -q 'PRIVATE KEY' \
        || fail "$pfx holds no private key"
    until=$(openssl x509 -noout -enddate <<<"$cert") && until=${until#notAfter=}
    openssl x509 -noout -checkend 0 <<<"$cert" >/dev/null \
        || fail "the certificate in $pfx expired on $until"
    echo "sign-windows: signing as $(openssl x509 -noout -subject -nameopt oneline <<<"$cert" | sed 's/^subject= *//'), valid until $until" >&2
    exit 0
fi

if [ -n "${SORELIN_SIGN_TIMESTAMP_URL:-}" ]; then
    when=(-ts "$SORELIN_SIGN_TIMESTAMP_URL")
else
    when=(-time "${SOURCE_DATE_EPOCH:-$(date +%s)}")
fi
for file; do
    signed="$file.signing"
    osslsigncode sign -pkcs12 "$pfx" -readpass "$pass" -h sha256 -n Sorelin "${when[@]}" \
        -in "$file" -out "$signed" >/dev/null || { rm -f "$signed"; fail "could not sign $file"; }
    # Into the same file, which keeps its permissions.
    cat "$signed" >"$file" && rm -f "$signed"
done
