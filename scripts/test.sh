#!/bin/bash
# Builds both builds and runs every test suite: the portable core natively
# (sanitizers, fuzz targets), then everything for Windows under Wine.
set -u
ROOT=$(cd "$(dirname "$0")/.." && pwd)
"$ROOT/scripts/deps.sh" || exit 1
JOBS=$(nproc)
status=0

cmake -S "$ROOT" -B "$ROOT/build/native" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
      >/dev/null || exit 1
ninja -C "$ROOT/build/native" || exit 1
(cd "$ROOT/build/native" && ctest -j"$JOBS" --output-on-failure) || status=1

cmake -S "$ROOT" -B "$ROOT/build/win" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" \
      >/dev/null || exit 1
ninja -C "$ROOT/build/win" || exit 1
"$ROOT/scripts/wine-session.sh" start "$ROOT/build/win"
"$ROOT/scripts/peers.sh" start "$ROOT/build/win" || status=1
# One at a time: the tests share the prefix's registry, display and ports.
(cd "$ROOT/build/win" && ctest --output-on-failure --timeout 300) || status=1
"$ROOT/scripts/peers.sh" stop "$ROOT/build/win"
"$ROOT/scripts/wine-session.sh" stop "$ROOT/build/win"
exit $status
