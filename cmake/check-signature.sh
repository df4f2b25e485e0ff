#!/usr/bin/env bash
# Fails unless SIGNED carries an Authenticode signature (and time stamp, if it
# has one) that verifies against the certificates in CA_FILE, and is UNSIGNED with only that signature added:
# without it (osslsigncode remove-signature) it is UNSIGNED byte for byte,
# apart from the PE checksum and the zero padding to 8 bytes that signing adds.
# With FINGERPRINT, the signer's certificate must have that SHA-256 fingerprint.
# Usage: check-signature.sh CA_FILE SIGNED UNSIGNED [FINGERPRINT]
set -euo pipefail
ca=$1 signed=$2 unsigned=$3 expected=$(tr -d ': ' <<<"${4-}" | tr a-f A-F)
name=$(basename "$signed")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if ! osslsigncode verify -CAfile "$ca" -TSA-CAfile "$ca" -in "$signed" >"$work/verify" 2>&1; then
  echo "$name: the signature does not verify: $(grep -m1 -i -e 'fail' -e 'error' "$work/verify" || echo 'no reason given')"
  exit 1
fi
signer=$(sed -n 's/^[[:space:]]*Subject: //p' "$work/verify" | head -n 1)
if [ -n "$expected" ]; then
  # The signer is the certificate in the signature with the serial number and
  # issuer that verified.
  serial=$(sed -n 's/^[[:space:]]*Serial : //p' "$work/verify" | head -n 1)
  issuer=$(sed -n 's/^[[:space:]]*Issuer : //p' "$work/verify" | head -n 1)
  # As PEM: without -pem, osslsigncode 2.5 (Debian 12's) writes the PE's certificate
  # entry with its 8-byte header, which is not DER.
  osslsigncode extract-signature -pem -in "$signed" -out "$work/signature" >/dev/null 2>&1 &&
    openssl pkcs7 -in "$work/signature" -print_certs >"$work/embedded" 2>/dev/null || {
    echo "$name: cannot read the certificates in its signature"
    exit 1
  }
  mkdir "$work/certificates"
  awk -v dir="$work/certificates" '/BEGIN CERTIFICATE/ {n++; in_pem = 1} in_pem {print > (dir "/" n ".pem")} /END CERTIFICATE/ {in_pem = 0}' "$work/embedded"
  fingerprint=
  for certificate in "$work/certificates"/*.pem; do
    [ -f "$certificate" ] || continue
    if [ "$(openssl x509 -in "$certificate" -noout -serial)" = "serial=$serial" ] &&
       [ "$(openssl x509 -in "$certificate" -noout -issuer -nameopt compat)" = "issuer=$issuer" ]; then
      fingerprint=$(openssl x509 -in "$certificate" -noout -fingerprint -sha256 | sed 's/^.*=//; s/://g')
    fi
  done
  if [ "$fingerprint" != "$expected" ]; then
    echo "$name: signed by $signer (SHA-256 fingerprint ${fingerprint:-unknown}), not the expected signer $expected"
    exit 1
  fi
fi
stamp='no time stamp'
case $(sed -n 's/^Timestamp Server Signature verification: //p' "$work/verify") in
  ok) stamp=time-stamped ;;
  ?*) echo "$name: the time stamp does not verify against the certificates in $ca"; exit 1 ;;
esac

osslsigncode remove-signature -in "$signed" -out "$work/stripped" >/dev/null 2>&1 || {
  echo "$name: osslsigncode cannot remove its signature"
  exit 1
}
size=$(stat -c %s "$unsigned")
stripped=$(stat -c %s "$work/stripped")
padded=$(( (size + 7) / 8 * 8 ))
# The PE checksum: 4 bytes, 64 bytes into the optional header (cmp counts from 1).
pe=$(od -An -t u4 -j 60 -N 4 "$unsigned" | tr -d ' ')
checksum=$((pe + 24 + 64 + 1))
differing=$(cmp -l "$unsigned" <(head -c "$size" "$work/stripped") 2>/dev/null |
  awk -v from=$checksum '$1 < from || $1 > from + 3 {printf "%s%d", n++ ? "," : "", $1 - 1}' | cut -c 1-60 || true)
padding=$(tail -c +$((size + 1)) "$work/stripped" | tr -d '\0' | wc -c)
if [ "$stripped" -ne "$padded" ] || [ "$padding" -ne 0 ] || [ -n "$differing" ]; then
  echo "$name: without its signature it is not $unsigned (size $stripped for $size;" \
       "other bytes at offsets ${differing:-none})"
  exit 1
fi
echo "$name: signature verified (signer $signer, $stamp); without it, the unsigned file"
