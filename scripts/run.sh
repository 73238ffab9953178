#!/bin/bash
# Builds Archivon and starts it under Wine with its default vault (the
# program folder + "\Root"). Without a display it runs on a virtual one and
# leaves a screenshot in build/win/screenshot.png.
set -u
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD="$ROOT/build/win"
"$ROOT/scripts/deps.sh" || exit 1
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" >/dev/null || exit 1
targets="Archivon avprobe beside_program"
ninja -C "$BUILD" -t targets all 2>/dev/null | grep -q "^Gleanix:" && targets="$targets Gleanix"
ninja -C "$BUILD" $targets || exit 1
if [ -n "${DISPLAY:-}" ]; then
  DISPLAY_GIVEN=$DISPLAY
fi
"$ROOT/scripts/wine-session.sh" start "$BUILD"
source "$BUILD/wine-env.sh"
[ -n "${DISPLAY_GIVEN:-}" ] && export DISPLAY=$DISPLAY_GIVEN
# The default vault: no BaseDir.
wine reg delete 'HKCU\Software\Tallowind\Archivon\Config' /v BaseDir /f >/dev/null 2>&1 </dev/null
if [ -n "${DISPLAY_GIVEN:-}" ]; then
  wine "$BUILD/Archivon.exe"
else
  export DISPLAY=":$(cat "$BUILD/display")"
  wine "$BUILD/Archivon.exe" </dev/null >/dev/null 2>&1 &
  sleep 8
  import -window root "$BUILD/screenshot.png" 2>/dev/null && echo "Screenshot: $BUILD/screenshot.png"
  echo "Archivon runs on the virtual display $DISPLAY; press Enter to close it."
  read -r _ || sleep 30
  wine "$BUILD/avprobe.exe" close >/dev/null 2>&1 </dev/null
  "$ROOT/scripts/wine-session.sh" stop "$BUILD"
fi
