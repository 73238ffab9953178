#!/bin/bash
# A file list on the command line lands in the catalog shown at start-up; a
# list item that is not a bare file name is refused and named in Messages,
# the other items still go in, and nothing is written beside the vault.
source "$(dirname "$0")/e2e_lib.sh"
mkdir -p "$WORK/v/vault" "$WORK/in"
echo alpha >"$WORK/in/a.txt"
echo beta >"$WORK/in/b.txt"
echo outside >"$WORK/up.txt"
set_config BaseDir "$(winpath "$WORK/v/vault")"
wine reg add 'HKCU\Software\Tallowind\Archivon\Config' /v IsRemoveSrc /t REG_DWORD /d 0 /f >/dev/null 2>&1 </dev/null

index_has_no_folder_part() { ! grep -q 'up.txt' "$WORK/v/vault/_doc_info.dat"; }
messages_name_the_refused_item() { probe messages | grep -qF '"../up.txt" is not a plain file name'; }

start_archivon "$(winpath "$WORK/in")\\a.txt|../up.txt|b.txt|"
check "main window shows" probe wait 20000
# The index is written after the files arrive.
for _ in $(seq 50); do grep -q 'b.txt' "$WORK/v/vault/_doc_info.dat" 2>/dev/null && break; sleep 0.2; done
check "a.txt is in the vault" cmp -s "$WORK/in/a.txt" "$WORK/v/vault/a.txt"
check "b.txt is in the vault" cmp -s "$WORK/in/b.txt" "$WORK/v/vault/b.txt"
check "sources stay" test -f "$WORK/in/a.txt"
check "nothing is written beside the vault" [ "$(ls "$WORK/v")" = "vault" ]
check "the index names both files" grep -q 'b.txt' "$WORK/v/vault/_doc_info.dat"
check "the index holds no name with a folder part" index_has_no_folder_part
check "Messages names the refused item" messages_name_the_refused_item
finish
