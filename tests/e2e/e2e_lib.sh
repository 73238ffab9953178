# Shared by the end-to-end scripts: $1 is the Windows build folder.
BUILD=$(cd "$1" && pwd)
source "$BUILD/wine-env.sh"
export DISPLAY=${DISPLAY:-:$(cat "$BUILD/display")}
WORK=$(mktemp -d "$BUILD/tmp/e2e.XXXXXX")
failures=0
check() {  # check "what" command...
  if "${@:2}"; then echo "ok - $1"; else echo "FAIL - $1"; failures=$((failures + 1)); fi
}
winpath() { winepath -w "$1" 2>/dev/null; }
probe() { wine "$BUILD/avprobe.exe" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
set_config() { wine reg add 'HKCU\Software\Tallowind\Archivon\Config' /v "$1" /d "$2" /f >/dev/null 2>&1 </dev/null; }
get_config() {
  wine reg query 'HKCU\Software\Tallowind\Archivon\Config' /v "$1" </dev/null 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$1 *REG_SZ *//p"
}
# Starts Archivon in the background; its PID in AV_PID.
start_archivon() {
  wine "$BUILD/Archivon.exe" "$@" </dev/null >"$WORK/av.out" 2>&1 &
  AV_PID=$!
}
finish() {
  probe close
  for _ in $(seq 50); do [ "$(probe count)" = "0" ] && break; sleep 0.2; done
  [ -n "${AV_PID:-}" ] && kill "$AV_PID" 2>/dev/null
  rm -rf "$WORK"
  echo "$failures failed"
  exit $((failures > 0))
}
