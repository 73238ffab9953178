#!/bin/bash
# A file list on the command line lands in the catalog shown at start-up.
source "$(dirname "$0")/e2e_lib.sh"
mkdir -p "$WORK/vault" "$WORK/in"
echo alpha >"$WORK/in/a.txt"
echo beta >"$WORK/in/b.txt"
set_config BaseDir "$(winpath "$WORK/vault")"
wine reg add 'HKCU\Software\Tallowind\Archivon\Config' /v IsRemoveSrc /t REG_DWORD /d 0 /f >/dev/null 2>&1 </dev/null

start_archivon "$(winpath "$WORK/in")\\a.txt|b.txt|"
check "main window shows" probe wait 20000
for _ in $(seq 50); do [ -f "$WORK/vault/b.txt" ] && break; sleep 0.2; done
check "a.txt is in the vault" cmp -s "$WORK/in/a.txt" "$WORK/vault/a.txt"
check "b.txt is in the vault" cmp -s "$WORK/in/b.txt" "$WORK/vault/b.txt"
check "sources stay" test -f "$WORK/in/a.txt"
finish
