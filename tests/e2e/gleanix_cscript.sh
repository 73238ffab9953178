#!/bin/bash
# Gleanix.dll registered with regsvr32, used from JScript through cscript,
# handing requests to a stand-in main window, then unregistered.
set -u
BUILD=$(cd "$1" && pwd)
source "$BUILD/wine-env.sh"
HERE=$(cd "$(dirname "$0")" && pwd)
passed=0
failed=0
check() {
  if eval "$2"; then passed=$((passed + 1)); else echo "FAIL: $1"; failed=$((failed + 1)); fi
}
win() { winepath -w "$1" 2>/dev/null; }
regq() { wine reg query "$@" 2>/dev/null | tr -d '\r'; }

# A private copy of the library, so the settings file beside it is ours.
work=$(mktemp -d "$BUILD/tmp/gleanix_e2e.XXXXXX")
cp "$BUILD/Gleanix.dll" "$work/"
mkdir "$work/picks"
dll=$(win "$work/Gleanix.dll")
config='HKCU\Software\Tallowind\Archivon\Config'
old_path=$(regq "$config" /v path4gleanix | sed -n 's/.*path4gleanix *REG_SZ *//p')
had_path=$(regq "$config" /v path4gleanix | grep -c path4gleanix)
cleanup() {
  wine regsvr32 /s /u "$dll" >/dev/null 2>&1
  if [ "$had_path" -gt 0 ]; then
    wine reg add "$config" /v path4gleanix /d "$old_path" /f >/dev/null 2>&1
  else
    wine reg delete "$config" /v path4gleanix /f >/dev/null 2>&1
  fi
  rm -rf "$work"
}
trap cleanup EXIT

wine regsvr32 /s "$dll" >/dev/null 2>&1
check "regsvr32 registers" "[ $? -eq 0 ]"
clsid=$(regq 'HKCR\Gleanix.InfoGather.1\CLSID' /ve | grep -o '{[0-9A-F-]*}')
check "ProgID names the class" "[ -n '$clsid' ]"
check "ProgID description" "regq 'HKCR\\Gleanix.InfoGather.1' /ve | grep -q 'InfoGather Class'"
check "CurVer" "regq 'HKCR\\Gleanix.InfoGather\\CurVer' /ve | grep -q 'Gleanix.InfoGather.1'"
check "independent ProgID's class" "regq 'HKCR\\Gleanix.InfoGather\\CLSID' /ve | grep -q '$clsid'"
cls="HKCR\\CLSID\\$clsid"
check "apartment threading" "regq '$cls\\InprocServer32' /v ThreadingModel | grep -q Apartment"
check "server path" "regq '$cls\\InprocServer32' /ve | grep -qi 'gleanix_e2e.*Gleanix.dll'"
check "ProgID under the class" "regq '$cls\\ProgID' /ve | grep -q 'Gleanix.InfoGather.1'"
check "independent ProgID under the class" "regq '$cls\\VersionIndependentProgID' /ve | grep -q 'REG_SZ *Gleanix.InfoGather$'"
check "Programmable" "regq '$cls\\Programmable' >/dev/null"
libid=$(regq "$cls\\TypeLib" /ve | sed -n 's/.*REG_SZ *//p')
check "type library registered" "regq 'HKCR\\TypeLib\\$libid\\1.0' /ve | grep -q 'Gleanix 1.0 Type Library'"
# The interface's GUID is the first in the IDL.
iid=$(sed -n 's/.*uuid(\([0-9A-Fa-f-]*\)).*/\1/p' "$HERE/../../helper/gleanix.idl" | head -1)
check "interface registered" "regq 'HKCR\\Interface\\{$iid}' /ve | grep -q IInfoGather"

# Requests go to the stand-in, which the first request starts; an Archivon
# left closing by an earlier test would take them instead.
for _ in $(seq 100); do
  [ "$(wine "$BUILD/avprobe.exe" count </dev/null 2>/dev/null | tr -d '\r')" = "0" ] && break
  sleep 0.2
done
received="$work/received.txt"
wine reg add "$config" /v path4gleanix /d "\"$(win "$BUILD/handoff_target.exe")\" \"$(win "$received")\" 0 2" /f \
  >/dev/null 2>&1
# The control panel is cancelled as soon as it shows.
wine "$BUILD/dismiss_window.exe" "Gleanix ver 1.1.0" 60000 </dev/null >/dev/null 2>&1 &
dismiss=$!
out=$(wine cscript //nologo "$(win "$HERE/gleanix_cscript.js")" "$(win "$work/picked.txt")" "$(win "$work/picks")" \
        "$(win "$work/Gleanix.ini")" registered </dev/null 2>&1 | tr -d '\r')
rc=$?
echo "$out"
check "script ran to its end without failures" "echo '$out' | grep -q 'gleanix script finished, failures: 0'"
wait "$dismiss"
check "control panel was shown" "[ $? -eq 0 ]"
for _ in $(seq 200); do [ "$(grep -c '^code' "$received" 2>/dev/null)" = 2 ] && break; sleep 0.1; done
expected='code=100 wparam=100 decoded=1 own_window=1 strings=3
[<html></html>]
[http://p/]
[Report Page.html]
code=101 wparam=101 decoded=1 own_window=1 strings=1
[http://d/f.zip]'
check "main window received both requests" "[ \"\$(cat '$received' 2>/dev/null)\" = \"\$expected\" ]"

wine regsvr32 /s /u "$dll" >/dev/null 2>&1
check "regsvr32 /u unregisters" "[ $? -eq 0 ]"
for key in 'HKCR\Gleanix.InfoGather.1' 'HKCR\Gleanix.InfoGather' "$cls" "HKCR\\TypeLib\\$libid" \
           "HKCR\\Interface\\{$iid}"; do
  check "$key removed" "! wine reg query '$key' >/dev/null 2>&1"
done
out=$(wine cscript //nologo "$(win "$HERE/gleanix_cscript.js")" x x x unregistered </dev/null 2>&1 | tr -d '\r')
echo "$out"
check "objects no longer created" "echo '$out' | grep -q 'gleanix script finished, failures: 0'"

echo "gleanix_cscript: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
