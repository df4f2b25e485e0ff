#!/usr/bin/env bash
# Fails unless SIGNED carries an Authenticode signature (and time stamp, if it
# has one) that verifies against the certificates in CA_FILE, and is UNSIGNED with only that signature added:
# without it (osslsigncode remove-signature) it is UNSIGNED byte for byte,
# apart from the PE checksum and the zero padding to 8 bytes that signing adds.
# Usage: check-signature.sh CA_FILE SIGNED UNSIGNED
set -euo pipefail
ca=$1 signed=$2 unsigned=$3
name=$(basename "$signed")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if ! osslsigncode verify -CAfile "$ca" -TSA-CAfile "$ca" -in "$signed" >"$work/verify" 2>&1; then
  echo "$name: the signature does not verify: $(grep -m1 -i -e 'fail' -e 'error' "$work/verify" || echo 'no reason given')"
  exit 1
fi
signer=$(sed -n 's/^[[:space:]]*Subject: //p' "$work/verify" | head -n 1)
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
