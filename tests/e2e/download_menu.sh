#!/bin/bash
# The Download menu of the real program: a job added through "Add " fetches a
# file from local nginx into the shown catalog, is listed "Finished.", is in
# the job file after exit, and is listed again at the next start.
source "$(dirname "$0")/e2e_lib.sh"
PEERS="$BUILD/peers/ports.env"
if [ ! -s "$PEERS" ]; then echo "skipped: peers not running"; rm -rf "$WORK"; exit 0; fi
source "$PEERS"
mkdir -p "$WORK/vault"
set_config BaseDir "$(winpath "$WORK/vault")"
# The program keeps its job file and downloads beside itself.
JOBFILE="$BUILD/Archivon.job"
[ -f "$JOBFILE" ] && mv "$JOBFILE" "$WORK/saved.job"
rm -f "$BUILD/small.bin" "$BUILD"/small\[*\].bin
restore() {
  rm -f "$JOBFILE" "$BUILD/small.bin" "$BUILD"/small\[*\].bin
  [ -f "$WORK/saved.job" ] && mv "$WORK/saved.job" "$JOBFILE"
}

start_archivon
check "main window shows" probe wait 20000
probe command 32850
URL="http://127.0.0.1:$http/small.bin"
check "the Download Job dialog opens and takes the URL" probe dialog "Download Job" 10000 1160 "$URL" ok
for _ in $(seq 100); do [ -f "$WORK/vault/small.bin" ] && break; sleep 0.2; done
check "the file arrives in the shown catalog with the right bytes" cmp -s "$BUILD/peers/www/small.bin" "$WORK/vault/small.bin"
check "its record is in the catalog's index" grep -q "small.bin" "$WORK/vault/_doc_info.dat"
listed() { grep -q "$1" <<<"$JOBS"; }
for _ in $(seq 50); do JOBS=$(probe jobs); listed "Finished." && break; sleep 0.2; done
check "the job is listed Finished." listed $'^0\tsmall.bin\t70001/70001\t.*\tFinished\\.$' 
probe close
for _ in $(seq 50); do [ "$(probe count)" = "0" ] && break; sleep 0.2; done
check "the job file holds the job after exit" grep -q "small.bin" "$JOBFILE"

start_archivon
check "a second start shows the window" probe wait 20000
for _ in $(seq 50); do JOBS=$(probe jobs); listed "small.bin" && break; sleep 0.2; done
check "the job is listed again" listed $'^0\tsmall.bin\t.*\tFinished\\.$' 
probe close
for _ in $(seq 50); do [ "$(probe count)" = "0" ] && break; sleep 0.2; done
restore
finish
