#!/bin/bash
# A second start brings the first instance forward and ends; the program
# records its path for the browser helper.
source "$(dirname "$0")/e2e_lib.sh"
mkdir -p "$WORK/vault"
set_config BaseDir "$(winpath "$WORK/vault")"
set_config path4gleanix ""

start_archivon
check "first instance shows its window" probe wait 20000
for _ in $(seq 50); do [ -n "$(get_config path4gleanix)" ] && break; sleep 0.2; done
check "path4gleanix names the executable" [ "$(get_config path4gleanix)" = "$(winpath "$BUILD/Archivon.exe")" ]
check "the vault is created with UnknownCatalog" test -d "$WORK/vault/UnknownCatalog"

probe minimize
sleep 0.5
timeout 30 wine "$BUILD/Archivon.exe" </dev/null >/dev/null 2>&1
check "second start ends by itself" [ $? -ne 124 ]
check "only one main window remains" [ "$(probe count)" = "1" ]
check "the first window is restored" [ "$(probe state | cut -d' ' -f1)" = "iconic=0" ]
finish
