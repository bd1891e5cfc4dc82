#!/bin/sh
# The run command: installs what is missing, builds, and starts Varnholt.exe
# under Wine in the build's own prefix. Without a display it starts a virtual
# X server, saves a screenshot of the window under build/ and closes the program.
set -e
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD="$ROOT/build"

sh "$ROOT/tools/setup.sh"
sh "$ROOT/tools/build.sh"

. "$ROOT/tools/wine-env.sh"
trap wine_env_cleanup EXIT INT TERM

PREFIX="$BUILD/wine/run"
headless=""
if [ -z "$DISPLAY" ]; then
    headless=1
    start_xvfb
fi
if [ ! -f "$PREFIX/system.reg" ]; then
    make_prefix "$PREFIX" win64
else
    WINEPREFIX="$PREFIX" wineserver -p >/dev/null 2>&1 </dev/null
    VARNHOLT_PREFIXES="$PREFIX"
fi
export WINEPREFIX="$PREFIX"

# The program keeps its catalogue beside itself: run a copy in the prefix.
# This machine runs 64-bit Windows code only, so the run uses the test build
# of the same sources; the shipped PE32 file is build/win32/app/Varnholt.exe.
APP="$PREFIX/drive_c/Varnholt"
mkdir -p "$APP"
if [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
    cp "$BUILD/win32/app/Varnholt.exe" "$APP/Varnholt.exe"
else
    cp "$BUILD/win64/app/Varnholt.exe" "$APP/Varnholt.exe"
fi

if [ -z "$headless" ]; then
    wine "$APP/Varnholt.exe" </dev/null
    exit 0
fi

wine "$APP/Varnholt.exe" </dev/null >/dev/null 2>&1 &
program=$!
shot="$BUILD/screenshots/main-dialog.png"
mkdir -p "$(dirname "$shot")"
tries=0
until xdotool search --name '^Orvantis$' >/dev/null 2>&1; do
    tries=$((tries + 1))
    if [ "$tries" -gt 300 ]; then
        echo "the main dialog did not appear" >&2
        kill "$program" 2>/dev/null || true
        exit 1
    fi
    sleep 0.1
done
sleep 2
import -window root -crop 800x600+0+0 "$shot"
WINEPREFIX="$PREFIX" wineserver -k >/dev/null 2>&1 || true
wait "$program" 2>/dev/null || true
echo "$shot"
