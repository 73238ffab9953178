#!/bin/bash
# Two-key triple-DES ECB throughput of our cipher beside openssl's, both on
# one core over 16 KiB buffers, in the same run. Prints both and the ratio.
# Usage: scripts/bench-des.sh [rounds]   (best of `rounds` runs each, default 3)
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD="$ROOT/build/bench"
ROUNDS=${1:-3}
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DARCHIVON_SANITIZE=OFF \
      -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang >/dev/null
ninja -C "$BUILD" core_bench >/dev/null
CPU=$(( $(nproc) - 1 ))
ours=0; theirs=0
for _ in $(seq "$ROUNDS"); do
  # bytes per second of our cipher
  o=$(taskset -c "$CPU" "$BUILD/core_bench" --benchmark_filter='TripleDes2Ecb/16384$' \
        --benchmark_min_time=1 --benchmark_format=csv 2>/dev/null |
      awk -F, '/TripleDes2Ecb/ { printf "%d\n", $6 + 0 }')
  # openssl prints thousands of bytes per second
  t=$(taskset -c "$CPU" openssl speed -evp des-ede-ecb -bytes 16384 -seconds 1 2>/dev/null |
      awk '/^DES-EDE-ECB/ { sub(/k$/, "", $2); print int($2 * 1000) }')
  [ "$o" -gt "$ours" ] && ours=$o
  [ "$t" -gt "$theirs" ] && theirs=$t
done
awk -v o="$ours" -v t="$theirs" 'BEGIN {
  printf "archivon 2-key 3DES ECB: %8.1f MB/s\n", o / 1e6
  printf "openssl  des-ede-ecb:    %8.1f MB/s\n", t / 1e6
  printf "ratio archivon/openssl:  %8.2f\n", o / t }'
