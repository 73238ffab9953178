#!/bin/bash
# start BUILD: a virtual display and one wineserver for the whole test run,
#              in the build's private prefix (made on first use).
# stop BUILD:  ends both.
set -u
cmd=$1; BUILD=$(cd "$2" && pwd)
source "$BUILD/wine-env.sh"
case "$cmd" in
start)
  if [ ! -s "$BUILD/xvfb.pid" ] || ! kill -0 "$(cat "$BUILD/xvfb.pid")" 2>/dev/null; then
    exec 3>"$BUILD/display.tmp"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$BUILD/tmp/xvfb.log" 2>&1 &
    echo $! >"$BUILD/xvfb.pid"
    for _ in $(seq 100); do [ -s "$BUILD/display.tmp" ] && break; sleep 0.1; done
    exec 3>&-
    tr -d '\n' <"$BUILD/display.tmp" >"$BUILD/display"
  fi
  export DISPLAY=":$(cat "$BUILD/display")"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1
    wineserver -w
    # A crash must end the process with a fixed code, never a debugger box.
    wine reg add "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug" /v Debugger /d no-debugger.exe /f >/dev/null 2>&1
    wine reg add "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug" /v Auto /d 1 /f >/dev/null 2>&1
    wine reg add "HKCU\\Software\\Wine\\WineDbg" /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wineserver -w
  fi
  if ! grep -q 'Explorer\\\\Desktops' "$WINEPREFIX/user.reg" 2>/dev/null; then
    # A virtual desktop: without a window manager, hiding a top-level X11
    # window otherwise waits two seconds for a reply that never comes.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f >/dev/null 2>&1
    wineserver -w
  fi
  wineserver -p
  wine cmd /c exit >/dev/null 2>&1 </dev/null
  ;;
stop)
  wineserver -k 2>/dev/null; wineserver -w 2>/dev/null
  [ -s "$BUILD/xvfb.pid" ] && kill "$(cat "$BUILD/xvfb.pid")" 2>/dev/null
  rm -f "$BUILD/xvfb.pid" "$BUILD/display" "$BUILD/display.tmp"
  ;;
esac
exit 0
