#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: the platform-free
# logic natively under the sanitizers, a short libFuzzer run over it, the
# 32-bit and the 64-bit Windows deliverables under Wine, and a check of the
# release archives made from them. Every workflow runs even when one fails;
# the run ends with what each of them ran, passed and skipped, and why.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh || exit 1
mkdir -p build/logs

failed=0 summary=() passed_total=0 failed_total=0 skipped_total=0
for preset in host fuzz windows windows-x64; do
  log=build/logs/$preset.log started=$SECONDS
  echo "===== $preset: configure, build and run its tests (log: $log)"
  cmake --workflow --preset "$preset" 2>&1 | tee "$log"
  workflow_status=${PIPESTATUS[0]}
  totals=$(sed -n 's/^[0-9]*% tests passed, \([0-9]*\) tests\{0,1\} failed out of \([0-9]*\)$/\1 \2/p' "$log" | tail -n 1)
  if [ -z "$totals" ]; then
    summary+=("$preset: failed before its tests ran (exit status $workflow_status; log: $log)")
    failed=1
    continue
  fi
  read -r nfailed ntotal <<<"$totals"
  nskipped=$(grep -c -E '^[[:space:]]*[0-9]+ - .* \(Skipped\)$' "$log")
  npassed=$((ntotal - nfailed - nskipped))
  line="$preset: $ntotal tests, $npassed passed, $nfailed failed, $nskipped skipped, in $((SECONDS - started)) s"
  if [ "$nskipped" -gt 0 ] && [ -f "build/$preset/wine-skipped.txt" ]; then
    line+=" ($(cat "build/$preset/wine-skipped.txt"): its Wine tests were skipped)"
  elif [ "$nskipped" -gt 0 ] && [ -f "build/$preset/java-skipped.txt" ]; then
    line+=" (the real Java runtime's tests were skipped: $(cat "build/$preset/java-skipped.txt"))"
  fi
  summary+=("$line")
  [ "$workflow_status" -eq 0 ] || failed=1
  passed_total=$((passed_total + npassed))
  failed_total=$((failed_total + nfailed)) skipped_total=$((skipped_total + nskipped))
done

# script_test NAME WHAT DONE SCRIPT: a test script, its output shown as it
# comes and kept in build/logs/NAME.log.
script_test() {
  local name=$1 what=$2 done=$3 script=$4 started=$SECONDS
  echo "===== $name: $what (log: build/logs/$name.log)"
  if "$script" 2>&1 | tee "build/logs/$name.log"; then
    summary+=("$name: $done, in $((SECONDS - started)) s")
  else
    summary+=("$name: failed (log: build/logs/$name.log)")
    failed=1
  fi
}

# Both release tests need the release's own check, which setup installs.
if ! ready=$(cmake/check-release.sh --ready 2>&1); then
  summary+=("release, signing: skipped, $ready")
  skipped_total=$((skipped_total + 2))
else
  script_test release "both archives, built twice, checked, and folders it must not use" \
    "both archives built, built again the same, and checked; folders it must not use refused" \
    tests/release/release_folders.sh
  script_test signing "a release signed with a throwaway certificate" \
    "a throwaway certificate signed a release, and every check of it passed" \
    tests/signing/signed_release.sh
fi

echo
echo "===== summary"
printf '%s\n' "${summary[@]}"
if [ -f build/windows/wine-skipped.txt ] && [ ! -f build/windows-x64/wine-skipped.txt ]; then
  echo "$(cat build/windows/wine-skipped.txt): the 32-bit Wine tests were skipped; the 64-bit ones ran."
fi
echo "total: $passed_total passed, $failed_total failed, $skipped_total skipped"
exit "$failed"
