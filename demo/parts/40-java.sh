#!/usr/bin/env bash
# Both libraries in the real Java runtime, as the toolkit's own classes call
# them, with the stand-in network provider beside a copy of the runtime.
# Needs KEL_BUILD, WINEPREFIX and KEL_WINE (the loader).
set -euo pipefail
if [ -f "$KEL_BUILD/java-skipped.txt" ]; then
  echo "== The libraries in a real Java runtime: not shown, $(cat "$KEL_BUILD/java-skipped.txt")"
  exit 0
fi
windows() { "$KEL_WINE" winepath -w "$1" 2>/dev/null; }
echo "== The libraries in a real Java runtime (Eclipse Temurin, under Wine) =="
"$KEL_WINE" "$KEL_BUILD/netdrive/tests/standin_runtime/bin/java.exe" -version 2>&1 | grep -v 'process group affinity'
echo
WINEDLLOVERRIDES=mpr=n \
KEL_STANDIN_CONNECTIONS='F:,\\fileserver\projects,Demo Network,alice|Z:,\\buildhost\drops,Other Network,builder' \
  "$KEL_WINE" "$KEL_BUILD/netdrive/tests/standin_runtime/bin/java.exe" -Xcheck:jni -XX:-PrintWarnings -XX:-UsePerfData \
    "-Djava.library.path=$(windows "$KEL_BUILD/bin")" -cp "$(windows "$KEL_BUILD/demo/kel_java_demo")" \
    com.vum.kel.demo.KelDemo
