#!/bin/bash
# The installer the build makes, run silently as a Windows user would:
# both deliverables in the folder given with /D= (a name with a blank),
# Gleanix registered for this user and created from cscript, the installed
# program run with its default vault in the program folder. The silent
# uninstaller then takes program and registration away and leaves the
# vault, the job file and the picked text. Last, the default per-user
# folder, installed and removed whole.
source "$(dirname "$0")/e2e_lib.sh"
setup="$BUILD/ArchivonSetup.exe"
check "the build made the installer" test -s "$setup"
[ -s "$setup" ] || finish

user_classes='HKCU\Software\Classes'
machine_classes='HKLM\Software\Classes'
config='HKCU\Software\Tallowind\Archivon\Config'
regq() { wine reg query "$@" </dev/null 2>/dev/null | tr -d '\r'; }
has_key() { wine reg query "$1" </dev/null >/dev/null 2>&1; }
wine_env() { wine cmd /c echo "%$1%" </dev/null 2>/dev/null | tr -d '\r'; }
old_base=$(get_config BaseDir)
old_path=$(get_config path4gleanix)
restore_settings() {
  set_config BaseDir "$old_base"
  set_config path4gleanix "$old_path"
}
# Runs ArchivonSetup.exe silently; "/D=<folder>" as separate words, so
# that Wine passes the folder unquoted, as the installer wants it.
install() {
  if [ $# -gt 0 ]; then
    # shellcheck disable=SC2086
    wine "$setup" /S /D=$1 </dev/null >/dev/null 2>&1
  else
    wine "$setup" /S </dev/null >/dev/null 2>&1
  fi
}
# The silent uninstaller hands over to a copy of itself and returns at
# once: wait until it has removed itself.
uninstall() {
  wine "$1/Uninstall.exe" /S </dev/null >/dev/null 2>&1
  for _ in $(seq 150); do [ ! -e "$1/Uninstall.exe" ] && [ ! -e "$1/Archivon.exe" ] && break; sleep 0.2; done
  sleep 1
}
# Windows sees HKCU\Software\Classes laid over HKLM\Software\Classes as
# HKEY_CLASSES_ROOT; Wine sees the machine half only. The user's keys are
# copied over it here, as Windows would show them to cscript.
mirrored=()
mirror_user_classes() {
  for key in "$@"; do
    if has_key "$user_classes\\$key" && ! has_key "$machine_classes\\$key"; then
      wine reg copy "$user_classes\\$key" "$machine_classes\\$key" /s /f </dev/null >/dev/null 2>&1
      mirrored+=("$key")
    fi
  done
}
remove_mirror() {
  for key in "${mirrored[@]}"; do wine reg delete "$machine_classes\\$key" /f </dev/null >/dev/null 2>&1; done
  mirrored=()
}

inst="$WORK/Program Files/Archivon"
mkdir -p "$WORK/Program Files"
had_machine_progid=0
has_key "$machine_classes\\Gleanix.InfoGather.1" && had_machine_progid=1

install "$(winpath "$inst")"
check "silent install ends well" [ $? -eq 0 ]
for f in Archivon.exe Gleanix.dll splash.bmp Archivon.htm Uninstall.exe; do
  check "$f installed" test -s "$inst/$f"
done
installed_exe="$(winpath "$inst")\\Archivon.exe"
check "path4gleanix names the installed program" [ "$(get_config path4gleanix)" = "$installed_exe" ]
clsid=$(regq "$user_classes\\Gleanix.InfoGather.1\\CLSID" /ve | grep -o '{[0-9A-Fa-f-]*}')
check "Gleanix's ProgID registered for the user" [ -n "$clsid" ]
check "the user's class names the installed library" \
  bash -c "wine reg query '$user_classes\\CLSID\\$clsid\\InprocServer32' /ve </dev/null 2>/dev/null | grep -qiF 'Program Files\\Archivon\\Gleanix.dll'"
check "version-independent ProgID registered for the user" has_key "$user_classes\\Gleanix.InfoGather\\CurVer"
if [ "$had_machine_progid" -eq 0 ]; then
  check "nothing registered for the machine" bash -c "! wine reg query '$machine_classes\\Gleanix.InfoGather.1' </dev/null >/dev/null 2>&1"
fi
check "listed among the user's programs" has_key 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Archivon'
start_menu="$(winepath -u "$(wine_env APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs" 2>/dev/null)"
check "start menu entry" test -f "$start_menu/Archivon.lnk"

libid=$(regq "$user_classes\\CLSID\\$clsid\\TypeLib" /ve | sed -n 's/.*REG_SZ *//p')
mirror_user_classes Gleanix.InfoGather.1 Gleanix.InfoGather "CLSID\\$clsid" "TypeLib\\$libid"
cat >"$WORK/create.js" <<'EOF'
var made = 0;
try {
    var a = new ActiveXObject("Gleanix.InfoGather.1");
    var b = new ActiveXObject("Gleanix.InfoGather");
    a.AddInfo("kept text", "http://example.org/");
    made = 1;
} catch (e) {
    WScript.Echo("error: " + e.message);
}
WScript.Echo(made ? "created" : "not created");
EOF
out=$(wine cscript //nologo "$(winpath "$WORK/create.js")" </dev/null 2>&1 | tr -d '\r')
echo "$out"
check "cscript creates the installed Gleanix" [ "$(echo "$out" | tail -1)" = "created" ]
check "picked text went beside the installed library" grep -q "kept text" "$inst/gleanix.txt"
remove_mirror

# The installed program with its default vault, in the program folder; a
# file named on the command line goes into the root catalog.
set_config BaseDir ""
mkdir -p "$WORK/in" && echo "a note" >"$WORK/in/note.txt"
wine "$inst/Archivon.exe" "$(winpath "$WORK/in")\\note.txt|" </dev/null >"$WORK/av.out" 2>&1 &
AV_PID=$!
check "the installed program starts" probe wait 30000
for _ in $(seq 50); do [ -f "$inst/Root/note.txt" ] && break; sleep 0.2; done
check "its default vault is in the program folder" test -d "$inst/Root/UnknownCatalog"
check "the document is in the vault" test -f "$inst/Root/note.txt"
install "$(winpath "$inst")"
check "installing over the running program is refused" [ $? -eq 3 ]
probe close
for _ in $(seq 100); do [ "$(probe count)" = "0" ] && break; sleep 0.2; done
check "the program closes" [ "$(probe count)" = "0" ]
wait "$AV_PID" 2>/dev/null
AV_PID=
printf 'jobs of the user' >"$inst/Archivon.job"
gleanix_text=$(cat "$inst/gleanix.txt")

uninstall "$inst"
for f in Archivon.exe Gleanix.dll splash.bmp Archivon.htm Uninstall.exe; do
  check "$f removed" test ! -e "$inst/$f"
done
check "the vault stays" test -f "$inst/Root/note.txt"
check "the vault's catalogs stay" test -d "$inst/Root/UnknownCatalog"
check "the job file stays" [ "$(cat "$inst/Archivon.job" 2>/dev/null)" = "jobs of the user" ]
check "the picked text stays" [ "$(cat "$inst/gleanix.txt" 2>/dev/null)" = "$gleanix_text" ]
for key in Gleanix.InfoGather.1 Gleanix.InfoGather "CLSID\\$clsid"; do
  check "$key unregistered" bash -c "! wine reg query '$user_classes\\$key' </dev/null >/dev/null 2>&1"
done
check "type library unregistered" bash -c "! wine reg query 'HKCR\\TypeLib\\$libid' </dev/null >/dev/null 2>&1 &&
  ! wine reg query '$user_classes\\TypeLib\\$libid' </dev/null >/dev/null 2>&1"
check "path4gleanix removed" bash -c "! wine reg query '$config' /v path4gleanix </dev/null >/dev/null 2>&1"
check "no longer listed" bash -c "! wine reg query 'HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Archivon' </dev/null >/dev/null 2>&1"
check "start menu entry removed" test ! -e "$start_menu/Archivon.lnk"

# The default: the user's own program folder, no administrator needed.
default_inst=$(winepath -u "$(wine_env LOCALAPPDATA)\\Programs\\Archivon" 2>/dev/null)
install
check "default install ends well" [ $? -eq 0 ]
check "default folder is under LOCALAPPDATA\\Programs" test -s "$default_inst/Archivon.exe"
uninstall "$default_inst"
check "an untouched installation leaves no folder behind" test ! -e "$default_inst"

restore_settings
finish
