#!/usr/bin/env bash
# Authenticode signing (SHA-256, through osslsigncode) with the key that the
# environment gives:
#   KEL_SIGN_CERT (PEM certificate chain, signer first) and KEL_SIGN_KEY (its
#   PEM private key; KEL_SIGN_PASSWORD opens it if it is encrypted), or
#   KEL_SIGN_PKCS12 (a .pfx/.p12 file) and KEL_SIGN_PASSWORD;
#   optional: KEL_SIGN_TIMESTAMP_URL (an RFC 3161 time-stamp server),
#   KEL_SIGN_URL (the URL shown with the signature) and KEL_SIGN_EXPECT (the
#   SHA-256 fingerprint the signing certificate must have).
# A line ending at the end of the password is not part of it.
# `check` makes sure the key opens and matches its certificate (and is the
# expected one), writes the certificates to CERTS (what the signatures verify
# against) and names the signer in one line; `sign` writes signed copies of
# the FILEs to OUT_DIR, described as NAME. Any failure is one line on stderr;
# exit 3: no key given.
# Usage: sign.sh check CERTS
#        sign.sh sign OUT_DIR NAME FILE...

# The password leaves this shell only for openssl's environment and
# osslsigncode's pipe, never on a command line.
declare +x password=${KEL_SIGN_PASSWORD-}
unset KEL_SIGN_PASSWORD
set -euo pipefail
while [[ $password == *[$'\r\n'] ]]; do password=${password%?}; done

die() { echo "signing: $*" >&2; exit 1; }
with_password() { KEL_SIGN_PASSWORD=$password "$@"; }

readable() {
  [ -r "${!1}" ] && [ -f "${!1}" ] || die "cannot read $1 (${!1})"
}

# Checks the key; prints the certificates it signs with (-clcerts: only the signer's).
certificates() {
  if [ -n "${KEL_SIGN_PKCS12-}" ]; then
    [ -z "${KEL_SIGN_CERT-}${KEL_SIGN_KEY-}" ] || die "give KEL_SIGN_PKCS12, or KEL_SIGN_CERT with KEL_SIGN_KEY, not both"
    readable KEL_SIGN_PKCS12
    # Files exported by older Windows use algorithms that OpenSSL 3 keeps in its legacy provider.
    with_password openssl pkcs12 -in "$KEL_SIGN_PKCS12" -passin env:KEL_SIGN_PASSWORD -nokeys "$@" 2>/dev/null ||
      with_password openssl pkcs12 -legacy -in "$KEL_SIGN_PKCS12" -passin env:KEL_SIGN_PASSWORD -nokeys "$@" 2>/dev/null ||
      die "KEL_SIGN_PASSWORD does not open KEL_SIGN_PKCS12 ($KEL_SIGN_PKCS12): wrong password, or not a PKCS#12 file"
    return
  fi
  [ -n "${KEL_SIGN_CERT-}" ] || die "KEL_SIGN_KEY needs KEL_SIGN_CERT, its certificate chain"
  [ -n "${KEL_SIGN_KEY-}" ] || die "KEL_SIGN_CERT needs KEL_SIGN_KEY, its private key"
  readable KEL_SIGN_CERT
  readable KEL_SIGN_KEY
  local certificate key
  certificate=$(openssl x509 -in "$KEL_SIGN_CERT" -noout -pubkey 2>/dev/null) ||
    die "KEL_SIGN_CERT ($KEL_SIGN_CERT) holds no PEM certificate"
  key=$(with_password openssl pkey -in "$KEL_SIGN_KEY" -passin env:KEL_SIGN_PASSWORD -pubout 2>/dev/null) ||
    die "cannot open KEL_SIGN_KEY ($KEL_SIGN_KEY): not a PEM private key, or encrypted and KEL_SIGN_PASSWORD is missing or wrong"
  [ "$certificate" = "$key" ] ||
    die "KEL_SIGN_KEY ($KEL_SIGN_KEY) is not the key of the first certificate in KEL_SIGN_CERT ($KEL_SIGN_CERT)"
  if [ "${1-}" = -clcerts ]; then
    openssl x509 -in "$KEL_SIGN_CERT"
  else
    openssl crl2pkcs7 -nocrl -certfile "$KEL_SIGN_CERT" | openssl pkcs7 -print_certs
  fi
}

if [ -z "${KEL_SIGN_CERT-}${KEL_SIGN_KEY-}${KEL_SIGN_PKCS12-}" ]; then
  [ -z "$password" ] || die "KEL_SIGN_PASSWORD is set but no key is: give KEL_SIGN_CERT and KEL_SIGN_KEY, or KEL_SIGN_PKCS12 and KEL_SIGN_PASSWORD"
  for name in KEL_SIGN_TIMESTAMP_URL KEL_SIGN_URL KEL_SIGN_EXPECT; do
    [ -z "${!name-}" ] || die "$name is set but no key is: give KEL_SIGN_CERT and KEL_SIGN_KEY, or KEL_SIGN_PKCS12 and KEL_SIGN_PASSWORD"
  done
  exit 3
fi
[ -z "${KEL_SIGN_PKCS12-}" ] || [ -n "$password" ] || die "KEL_SIGN_PKCS12 needs KEL_SIGN_PASSWORD"
chain=$(certificates)
fingerprint=$(certificates -clcerts | openssl x509 -noout -fingerprint -sha256 | sed 's/^.*=//; s/://g')
if [ -n "${KEL_SIGN_EXPECT-}" ]; then
  expected=$(tr -d ': ' <<<"$KEL_SIGN_EXPECT" | tr a-f A-F)
  [[ $expected =~ ^[0-9A-F]{64}$ ]] || die "KEL_SIGN_EXPECT ($KEL_SIGN_EXPECT) is not a SHA-256 fingerprint (64 hexadecimal digits)"
  [ "$fingerprint" = "$expected" ] ||
    die "the key's certificate has the SHA-256 fingerprint $fingerprint, not KEL_SIGN_EXPECT ($KEL_SIGN_EXPECT)"
fi

case ${1-} in
  check)
    printf '%s\n' "$chain" >"$2"
    subject=$(openssl x509 -noout -subject -nameopt oneline <<<"$chain" | sed 's/^subject= *//')
    stamp="without a time stamp"
    [ -z "${KEL_SIGN_TIMESTAMP_URL-}" ] || stamp="time-stamped by $KEL_SIGN_TIMESTAMP_URL"
    echo "signing: as $subject (SHA-256 fingerprint $fingerprint), $stamp" ;;
  sign)
    out=$2 name=$3
    shift 3
    mkdir -p "$out"
    options=(-h sha256 -n "$name")
    [ -z "${KEL_SIGN_URL-}" ] || options+=(-i "$KEL_SIGN_URL")
    [ -z "${KEL_SIGN_TIMESTAMP_URL-}" ] || options+=(-ts "$KEL_SIGN_TIMESTAMP_URL")
    if [ -n "${KEL_SIGN_PKCS12-}" ]; then
      options+=(-pkcs12 "$KEL_SIGN_PKCS12")
    else
      options+=(-certs "$KEL_SIGN_CERT" -key "$KEL_SIGN_KEY")
    fi
    log=$(mktemp)
    trap 'rm -f "$log"' EXIT
    for file in "$@"; do
      signed=$out/$(basename "$file")
      # A time-stamp server that never answers must not hold the release forever.
      status=0
      if [ -n "$password" ]; then
        timeout 120 osslsigncode sign "${options[@]}" -readpass <(printf %s "$password") -in "$file" -out "$signed" >"$log" 2>&1 || status=$?
      else
        timeout 120 osslsigncode sign "${options[@]}" -in "$file" -out "$signed" >"$log" 2>&1 || status=$?
      fi
      [ $status -eq 0 ] && continue
      rm -f "$signed"
      if [ -n "${KEL_SIGN_TIMESTAMP_URL-}" ] && { [ $status -eq 124 ] || grep -qi 'timestamp' "$log"; }; then
        reason=$(grep -m1 -i 'failure' "$log" || true)
        die "no time stamp from KEL_SIGN_TIMESTAMP_URL ($KEL_SIGN_TIMESTAMP_URL): ${reason:-no answer within 120 s}"
      fi
      die "osslsigncode could not sign $(basename "$file"): $(grep -v -m1 -e '^[0-9A-F]\{8,\}:error:' -e '^\s*$' "$log")"
    done ;;
  *) echo "usage: sign.sh check CERTS | sign.sh sign OUT_DIR NAME FILE..." >&2; exit 2 ;;
esac
