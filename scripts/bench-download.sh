#!/bin/bash
# Download benchmark under Wine against the local peers: the real worker
# against a bare Winsock loop on one 256 MiB file from nginx, then 50
# parallel 20 MB jobs. Extra arguments go to the bench program.
set -u
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD="$ROOT/build/win"
"$ROOT/scripts/deps.sh" || exit 1
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" >/dev/null || exit 1
ninja -C "$BUILD" download_bench >/dev/null || exit 1
"$ROOT/scripts/wine-session.sh" start "$BUILD"
"$ROOT/scripts/peers.sh" start "$BUILD" || { "$ROOT/scripts/peers.sh" stop "$BUILD"; exit 1; }
source "$BUILD/peers/ports.env"
# The single download runs on a 256 MiB file, made once beside the others.
[ -s "$BUILD/peers/www/bench256.bin" ] || head -c 268435456 /dev/urandom >"$BUILD/peers/www/bench256.bin"
"$BUILD/wine-run.sh" "$BUILD/download_bench.exe" "http://127.0.0.1:$http/bench256.bin" \
    --parallel-url "http://127.0.0.1:$http/bench.bin" --jobs 50 "$@"
rc=$?
"$ROOT/scripts/peers.sh" stop "$BUILD"
"$ROOT/scripts/wine-session.sh" stop "$BUILD"
exit $rc
