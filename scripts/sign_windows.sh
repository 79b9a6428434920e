#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Signs one Windows file (exe, installer, uninstaller or MSI) in place with osslsigncode:
# Authenticode with SHA-256. scripts/windows.sh package calls it for every file it signs, and
# NSIS for the uninstaller it writes into the installer.
#   PENDRO_SIGN_CERT           the certificate (PEM, with its chain if there is one)
#   PENDRO_SIGN_KEY            its private key (PEM)
#   PENDRO_SIGN_PASSWORD       the key's password, if it has one
#   PENDRO_SIGN_TIMESTAMP_URL  an RFC 3161 time-stamp server; without it the signature carries
#                              SOURCE_DATE_EPOCH as its signing time and no time stamp
# Usage: scripts/sign_windows.sh FILE
set -euo pipefail
file="$1"
: "${PENDRO_SIGN_CERT:?no certificate (PENDRO_SIGN_CERT)}" "${PENDRO_SIGN_KEY:?no key (PENDRO_SIGN_KEY)}"
args=(sign -certs "$PENDRO_SIGN_CERT" -key "$PENDRO_SIGN_KEY" -h sha256 -n Pendro)
[ -n "${PENDRO_SIGN_PASSWORD:-}" ] && args+=(-pass "$PENDRO_SIGN_PASSWORD")
if [ -n "${PENDRO_SIGN_TIMESTAMP_URL:-}" ]; then
    args+=(-ts "$PENDRO_SIGN_TIMESTAMP_URL")
elif [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
    args+=(-time "$SOURCE_DATE_EPOCH")
fi
rm -f "$file.signed"
if ! osslsigncode "${args[@]}" -in "$file" -out "$file.signed" >"$file.sign.log" 2>&1; then
    cat "$file.sign.log" >&2
    rm -f "$file.signed" "$file.sign.log"
    echo "signing failed: $file" >&2
    exit 1
fi
rm -f "$file.sign.log"
mv "$file.signed" "$file"
echo "Signed: ${file##*/}"
