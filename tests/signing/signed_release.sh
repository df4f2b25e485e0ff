#!/usr/bin/env bash
# Signs a release with a throwaway certificate made here, then: every signed
# deliverable verifies against it, one changed byte fails verification, the
# signed libraries still load and answer under Wine (32-bit only where this
# machine runs 32-bit programs), and the build's own checks of its
# deliverables pass on the signed files, and the password reached no program
# of the build. A wrong password, a key that is not the certificate's, a key
# that is not the expected signer's and no key where one is required end the
# release with one line and no archive.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
# What is tested is this working tree's release script, committed or not.
export KEL_ALLOW_DIRTY=1
work=$root/build/signing-test
rm -rf "$work"
mkdir -p "$work"
prefixes=()
cleanup() {
  for prefix in "${prefixes[@]}"; do cmake/wine-stop.sh "$prefix"; done
  rm -rf "$work"
}
trap cleanup EXIT
failures=()
fail() { echo "FAILED: $*"; failures+=("$1"); }

# openssl first of all.
scripts/setup.sh
# The throwaway chain: a root and a code-signing certificate it issued.
(
  cd "$work"
  openssl req -x509 -newkey rsa:2048 -nodes -keyout root.key -out root.pem -days 2 \
    -subj "/CN=KEL throwaway test root" -addext basicConstraints=critical,CA:true \
    -addext keyUsage=critical,keyCertSign
  openssl req -newkey rsa:2048 -nodes -keyout signer.key -out signer.csr -subj "/CN=KEL throwaway signer"
  printf 'basicConstraints=CA:false\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >signer.ext
  openssl x509 -req -in signer.csr -CA root.pem -CAkey root.key -CAcreateserial -days 2 \
    -extfile signer.ext -out signer.pem
  openssl pkcs12 -export -inkey signer.key -in signer.pem -certfile root.pem -passout pass:throwaway -out signer.p12
  openssl genrsa -out other.key 2048
) >/dev/null 2>&1
fingerprint() { openssl x509 -in "$1" -noout -fingerprint -sha256 | sed 's/^.*=//'; }

# refused WHAT MESSAGE VAR=VALUE...: the release must end with one line of
# its own (setup's line aside) holding MESSAGE, leaving no archive
refused() {
  local what=$1 message=$2 own
  shift 2
  if env "$@" scripts/release.sh "$work/refused" >"$work/refused.log" 2>&1; then
    fail "$what: the release went through"
    return
  fi
  own=$(grep -v '^setup: ' "$work/refused.log")
  if [ "$(wc -l <<<"$own")" -ne 1 ] || ! grep -qF -- "$message" <<<"$own" || [ -e "$work/refused" ]; then
    fail "$what: not one line saying \"$message\" and no archive:"
    cat "$work/refused.log"
  else
    echo "passed: $what ends the release: $own"
  fi
}
refused "a wrong password" "does not open KEL_SIGN_PKCS12" KEL_SIGN_PKCS12="$work/signer.p12" KEL_SIGN_PASSWORD=wrong
refused "a key that is not the certificate's" "is not the key of the first certificate" \
  KEL_SIGN_CERT="$work/signer.pem" KEL_SIGN_KEY="$work/other.key"
refused "a key that is not the expected signer's" "not KEL_SIGN_EXPECT" \
  KEL_SIGN_PKCS12="$work/signer.p12" KEL_SIGN_PASSWORD=throwaway KEL_SIGN_EXPECT="$(fingerprint "$work/root.pem")"
refused "no key where one is required" "KEL_SIGN_REQUIRED is set and no signing key is given" KEL_SIGN_REQUIRED=1

# A program the build runs (zip, under cpack) notes whether it sees the password.
mkdir -p "$work/spy"
printf '#!/usr/bin/env bash\necho ran >>%q\n! env | grep -q throwaway || echo "saw the password" >>%q\nexec %q "$@"\n' \
  "$work/spy.log" "$work/spy.log" "$(command -v zip)" >"$work/spy/zip"
chmod +x "$work/spy/zip"

# The password ends in a line break, which is not part of it; a KEL_SIGNED_DIR
# left in the environment must not reach the unsigned archives.
echo "signed release:"
if ! PATH=$work/spy:$PATH KEL_SIGN_PKCS12=$work/signer.p12 KEL_SIGN_PASSWORD=$'throwaway\n' \
     KEL_SIGN_URL=https://kel.example/ KEL_SIGN_EXPECT="$(fingerprint "$work/signer.pem")" \
     KEL_SIGNED_DIR=$work/nowhere scripts/release.sh "$work/release" 2>&1 | tee "$work/release.log" | sed -u 's/^/  /'; then
  echo "signing test: FAILED: the signed release did not go through"
  exit 1
fi
if ! grep -q '^ran$' "$work/spy.log" 2>/dev/null; then
  fail "zip never ran through the spy on PATH"
elif grep -q 'saw the password' "$work/spy.log"; then
  fail "the password was in the environment of zip, a program of the build"
else
  echo "passed: zip ran $(grep -c '^ran$' "$work/spy.log") times during the release and never saw the password"
fi

for entry in "windows i386 win32" "windows-x64 x86-64 win64"; do
  read -r preset machine suffix <<<"$entry"
  build=$root/build/$preset
  files=$work/$machine
  mkdir -p "$files"
  (cd "$files" && cmake -E tar xf "$work/release"/kel-native-*-"$suffix".zip)
  for file in "$files"/*.exe "$files"/*.dll; do
    if osslsigncode verify -CAfile "$work/root.pem" -in "$file" >"$work/verify.log" 2>&1; then
      echo "passed: $machine $(basename "$file") verifies against the throwaway root"
    else
      fail "$machine $(basename "$file") does not verify"
      cat "$work/verify.log"
    fi
  done

  if [ "$machine" = x86-64 ]; then
    changed=$work/changed-Tesmaru.dll
    cp "$files/Tesmaru.dll" "$changed"
    offset=$(($(stat -c %s "$changed") / 2))
    byte=$(od -An -t u1 -j "$offset" -N 1 "$changed" | tr -d ' ')
    printf "\\$(printf %03o $((byte ^ 1)))" | dd of="$changed" bs=1 seek="$offset" conv=notrunc 2>/dev/null
    if osslsigncode verify -CAfile "$work/root.pem" -in "$changed" >/dev/null 2>&1; then
      fail "$machine Tesmaru.dll with byte $offset changed still verifies"
    else
      echo "passed: $machine Tesmaru.dll with byte $offset changed fails verification"
    fi
    if cmake/check-signature.sh "$work/root.pem" "$files/Tesmaru.dll" "$build/bin/Tesmaru.dll" \
         "$(fingerprint "$work/root.pem")" >"$work/verify.log" 2>&1; then
      fail "$machine Tesmaru.dll passes the release's verification pinned to another signer"
    else
      echo "passed: pinned to another signer, the release's verification refuses it: $(cat "$work/verify.log")"
    fi
  fi

  if [ -f "$build/wine-skipped.txt" ]; then
    echo "skipped: the $machine libraries under Wine: $(cat "$build/wine-skipped.txt")"
  else
    prefix=$build/wineprefix
    prefixes+=("$prefix")
    windows_path() { cmake/wine-run.sh "$machine" "$prefix" winepath -w "$1" | tr -d '\r'; }
    answer=$(cmake/wine-run.sh "$machine" "$prefix" "$build/demo/tesmaru_driver.exe" \
      "$(windows_path "$files/Tesmaru.dll")" 'cmd /c echo signed and answering' 2>&1 || true)
    if grep -q '^signed and answering' <<<"$answer"; then
      echo "passed: the signed $machine Tesmaru.dll runs a command under Wine"
    else
      fail "the signed $machine Tesmaru.dll under Wine answered: $answer"
    fi
    # The stand-in provider is found beside the program that loads the library.
    standin=$work/standin-$machine
    mkdir -p "$standin"
    cp "$build/demo/netdrive_demo.exe" "$build/netdrive/tests/standin/mpr.dll" "$standin/"
    answer=$(WINEDLLOVERRIDES=mpr=n cmake/wine-run.sh "$machine" "$prefix" \
      "$standin/netdrive_demo.exe" "$(windows_path "$files/Orvandel.dll")" \
      'connect=Z:,\\buildhost\drops,Demo Network,builder' host=Z: 2>&1 || true)
    if grep -qF 'getHostNameFor("Z:") -> "\\buildhost\drops"' <<<"$answer"; then
      echo "passed: the signed $machine Orvandel.dll answers through the stand-in provider under Wine"
    else
      fail "the signed $machine Orvandel.dll under Wine answered: $answer"
    fi
  fi

  if cmake -DBUILD="$build" -DFILES="$files" -P tests/signing/deliverable_checks.cmake 2>&1 | sed "s/^/$machine: /"; then
    echo "passed: the $preset build's checks of its deliverables on the signed files"
  else
    fail "the $preset build's checks of its deliverables on the signed files"
  fi
done

if [ ${#failures[@]} -gt 0 ]; then
  echo "signing test: FAILED: ${#failures[@]} checks (above)"
  exit 1
fi
echo "signing test: passed"
