#!/bin/bash
# Download benchmark under Wine against the local peers: the real worker
# against a bare Winsock loop on one 256 MiB file from nginx, then 50
# parallel 20 MB jobs; then HTTPS against plain HTTP of the same file.
# Extra arguments go to the bench program.
set -u
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD="$ROOT/build/win"
"$ROOT/scripts/deps.sh" || exit 1
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" >/dev/null || exit 1
ninja -C "$BUILD" download_bench trust_test_ca >/dev/null || exit 1
"$ROOT/scripts/wine-session.sh" start "$BUILD"
"$ROOT/scripts/peers.sh" start "$BUILD" || { "$ROOT/scripts/peers.sh" stop "$BUILD"; exit 1; }
source "$BUILD/peers/ports.env"
# The single download runs on a 256 MiB file, made once beside the others.
[ -s "$BUILD/peers/www/bench256.bin" ] || head -c 268435456 /dev/urandom >"$BUILD/peers/www/bench256.bin"
"$BUILD/wine-run.sh" "$BUILD/download_bench.exe" "http://127.0.0.1:$http/bench256.bin" \
    --parallel-url "http://127.0.0.1:$http/bench.bin" --jobs 50 "$@"
rc=$?
# HTTPS against plain HTTP from the same nginx, both through the worker.
echo "--- https"
"$BUILD/wine-run.sh" "$BUILD/trust_test_ca.exe" "Z:$BUILD/peers/tls/ca.der" || rc=1
"$BUILD/wine-run.sh" "$BUILD/download_bench.exe" "https://localhost:$https/bench256.bin" \
    --plain-url "http://127.0.0.1:$http/bench256.bin" --jobs 0 "$@" || rc=1
"$ROOT/scripts/peers.sh" stop "$BUILD"
"$ROOT/scripts/wine-session.sh" stop "$BUILD"
exit $rc
