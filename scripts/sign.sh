#!/usr/bin/env bash
# Signs one Windows file in place with Authenticode (SHA-256): a program, a
# setup program or a Windows Installer package. `make dist` calls it for
# every file it ships when it is given a certificate:
#
#   SIGN_CERT=cert.pem SIGN_KEY=key.pem [SIGN_TIMESTAMP=URL] scripts/sign.sh FILE
#
# SIGN_CERT is the certificate (and the chain up to its root, PEM or DER),
# SIGN_KEY its private key (PEM or DER, not protected by a password).
# SIGN_TIMESTAMP names an RFC 3161 time stamp server: a signature stamped by
# it stays valid after the certificate expires.
set -euo pipefail
file=${1:?usage: scripts/sign.sh FILE}
: "${SIGN_CERT:?sign.sh: SIGN_CERT names no certificate}" "${SIGN_KEY:?sign.sh: SIGN_KEY names no key}"
for given in "$SIGN_CERT" "$SIGN_KEY" "$file"; do
  [ -f "$given" ] || { echo "sign.sh: no file $given" >&2; exit 1; }
done
stamp=()
[ -n "${SIGN_TIMESTAMP:-}" ] && stamp=(-ts "$SIGN_TIMESTAMP")
signed=$file.signing
trap 'rm -f "$signed"' EXIT
rm -f "$signed"
osslsigncode sign -certs "$SIGN_CERT" -key "$SIGN_KEY" -h sha256 "${stamp[@]}" -in "$file" -out "$signed" >/dev/null
mv "$signed" "$file"
