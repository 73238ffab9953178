#!/bin/bash
# Pages from the browser: Gleanix, used from cscript, hands a page served by
# local nginx to the running program, which files it in the shown catalog,
# fetches its images as companions and points the page's links at them;
# a download handed over twice is one job.
source "$(dirname "$0")/e2e_lib.sh"
HERE=$(cd "$(dirname "$0")" && pwd)
PEERS="$BUILD/peers/ports.env"
if [ ! -s "$PEERS" ]; then echo "skipped: peers not running"; rm -rf "$WORK"; exit 0; fi
source "$PEERS"
WWW="$BUILD/peers/www/wp$$"
mkdir -p "$WORK/vault" "$WWW"
printf 'GIF89a-pic' >"$WWW/pic.gif"
printf 'GIF89a-logo' >"$WWW/logo.gif"
set_config BaseDir "$(winpath "$WORK/vault")"
# "Start immediately when job is added", as a fresh install has it.
wine reg add 'HKCU\Software\Tallowind\Archivon\Download' /v "Silent Mode" /t REG_DWORD /d 1 /f >/dev/null 2>&1 </dev/null
# The program keeps its job file and downloads beside itself.
JOBFILE="$BUILD/Archivon.job"
[ -f "$JOBFILE" ] && mv "$JOBFILE" "$WORK/saved.job"
cp "$BUILD/Gleanix.dll" "$WORK/"
dll=$(winpath "$WORK/Gleanix.dll")
restore() {
  wine regsvr32 /s /u "$dll" >/dev/null 2>&1 </dev/null
  rm -rf "$WWW" "$JOBFILE" "$BUILD"/127.0.0.1_wp$$_*.gif "$BUILD/small.bin"
  [ -f "$WORK/saved.job" ] && mv "$WORK/saved.job" "$JOBFILE"
}
wine regsvr32 /s "$dll" >/dev/null 2>&1 </dev/null
check "Gleanix registers" test $? -eq 0

start_archivon
check "main window shows" probe wait 20000
BASE="http://127.0.0.1:$http/wp$$"
PAGE='<html><IMG SRC="pic.gif"><img src=/wp'$$'/logo.gif alt=x><a href="pic.gif">pic</a></html>'
DLD="http://127.0.0.1:$http/small.bin"
out=$(wine cscript //nologo "$(winpath "$HERE/web_picker.js")" "$PAGE" "$BASE/page.html" "$DLD" </dev/null 2>&1 |
  tr -d '\r')
echo "$out"
check "the script ran to its end" grep -q 'web picker script finished, failures: 0' <<<"$out"
STORED="$WORK/vault/WP Page.html"
companions() { ls "$WORK/vault" | grep -c '^127\.0\.0\.1_wp'$$'_.*\.gif$'; }
for _ in $(seq 100); do [ "$(companions)" = 2 ] && ! grep -q '"pic.gif"' "$STORED" 2>/dev/null && break; sleep 0.2; done
check "the page is in the shown catalog" test -f "$STORED"
check "both images arrived beside it" test "$(companions)" = 2
check "no link names the server's copy any more" bash -c "! grep -qE '\"pic.gif\"|/wp$$/logo.gif' '$STORED'"
check "every link names a local copy" grep -q "SRC=\"127.0.0.1_wp$$_pic.gif\".*src=127.0.0.1_wp$$_logo.gif.*href=\"127.0.0.1_wp$$_pic.gif\"" "$STORED"
check "the companions are in the index" grep -q "127.0.0.1_wp$$_logo.gif" "$WORK/vault/_doc_info.dat"
for _ in $(seq 50); do JOBS=$(probe jobs); grep -q $'small.bin\t.*Finished' <<<"$JOBS" && break; sleep 0.2; done
echo "$JOBS"
check "the download ran once" test "$(grep -c 'small.bin' <<<"$JOBS")" = 1
check "and finished" grep -q $'small.bin\t.*Finished\\.$' <<<"$JOBS"
probe close
for _ in $(seq 50); do [ "$(probe count)" = "0" ] && break; sleep 0.2; done
restore
finish
