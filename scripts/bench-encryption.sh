#!/bin/bash
# Encrypt/Decrypt of Archivon on a real file, beside `openssl enc
# -des-ede-ecb` on the same file and beside Archivon's bare cipher over the
# same number of bytes, all in one run and on one core. Prints seconds,
# throughput, peak memory and the ratios.
# Usage: scripts/bench-encryption.sh [MiB]   (size of the document, default 1024)
set -u
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD="$ROOT/build/win"
MIB=${1:-1024}
"$ROOT/scripts/deps.sh" || exit 1
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" >/dev/null || exit 1
ninja -C "$BUILD" encryption_bench >/dev/null || exit 1
"$ROOT/scripts/wine-session.sh" start "$BUILD"
source "$BUILD/wine-env.sh"

DIR="$BUILD/tmp/bench-encryption"
rm -rf "$DIR"; mkdir -p "$DIR"
DOC="$DIR/document.bin"
head -c "${MIB}M" /dev/urandom >"$DOC"
BYTES=$(stat -c %s "$DOC")
KEY=5a0ce3719b24d846a17f30c26e950bf8
CPU=$(( $(nproc) - 1 ))
# timed NAME command...: elapsed seconds and peak resident KiB into NAME.time
timed() {
  local name=$1; shift
  /usr/bin/time -f '%e %M' -o "$DIR/$name.time" taskset -c "$CPU" "$@"
}
status=0
timed openssl_encrypt openssl enc -des-ede-ecb -K "$KEY" -in "$DOC" -out "$DIR/document.enc" || status=1
timed openssl_decrypt openssl enc -d -des-ede-ecb -K "$KEY" -in "$DIR/document.enc" -out "$DIR/document.dec" || status=1
cmp -s "$DOC" "$DIR/document.dec" || { echo "openssl round trip differs"; status=1; }
rm -f "$DIR/document.enc" "$DIR/document.dec"
timed command "$BUILD/wine-run.sh" "$BUILD/encryption_bench.exe" command "$(winepath -w "$DOC")" \
  >"$DIR/command.out" || status=1
timed cipher "$BUILD/wine-run.sh" "$BUILD/encryption_bench.exe" cipher "$BYTES" >"$DIR/cipher.out" || status=1
"$ROOT/scripts/wine-session.sh" stop "$BUILD"

value() { awk -v k="$2" '$1 == k { print $2 }' "$DIR/$1"; }
awk -v bytes="$BYTES" \
    -v oe="$(cut -d' ' -f1 "$DIR/openssl_encrypt.time")" -v od="$(cut -d' ' -f1 "$DIR/openssl_decrypt.time")" \
    -v orss="$(cut -d' ' -f2 "$DIR/openssl_encrypt.time")" -v odrss="$(cut -d' ' -f2 "$DIR/openssl_decrypt.time")" \
    -v ce="$(value command.out command_encrypt_seconds)" -v cd="$(value command.out command_decrypt_seconds)" \
    -v peak="$(value command.out peak_working_set_bytes)" -v growth="$(value command.out peak_growth_bytes)" \
    -v crss="$(cut -d' ' -f2 "$DIR/command.time")" -v trip="$(value command.out round_trip)" \
    -v xe="$(value cipher.out cipher_encrypt_seconds)" -v xd="$(value cipher.out cipher_decrypt_seconds)" '
function mbs(s) { return s > 0 ? bytes / s / 1048576 : 0 }
BEGIN {
  printf "document: %d MiB, round trip %s\n\n", bytes / 1048576, trip
  printf "%-34s %9s %9s %9s %9s\n", "", "enc s", "enc MiB/s", "dec s", "dec MiB/s"
  printf "%-34s %9.2f %9.1f %9.2f %9.1f\n", "openssl enc -des-ede-ecb", oe, mbs(oe), od, mbs(od)
  printf "%-34s %9.2f %9.1f %9.2f %9.1f\n", "Archivon Encrypt/Decrypt (file)", ce, mbs(ce), cd, mbs(cd)
  printf "%-34s %9.2f %9.1f %9.2f %9.1f\n\n", "Archivon cipher alone (memory)", xe, mbs(xe), xd, mbs(xd)
  printf "command / its cipher:   encrypt %.2f  decrypt %.2f   (goal >= 0.80)\n", xe / ce, xd / cd
  printf "command / openssl:      encrypt %.2f  decrypt %.2f\n", oe / ce, od / cd
  printf "cipher  / openssl:      encrypt %.2f  decrypt %.2f\n\n", oe / xe, od / xd
  printf "peak memory, Archivon process (Wine, resident): %6.1f MiB   (goal < 64 MiB)\n", crss / 1024
  printf "  of which the command added:                   %6.1f MiB   (peak working set %.1f MiB)\n", growth / 1048576, peak / 1048576
  printf "peak memory, openssl enc (resident):            %6.1f MiB encrypt, %.1f MiB decrypt\n", orss / 1024, odrss / 1024
}'
rm -rf "$DIR"
exit $status
