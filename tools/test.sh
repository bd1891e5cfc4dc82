#!/bin/sh
# The test command: installs what is missing, builds the shipped PE32 program
# and the tests, and runs every test under Wine inside a virtual X server.
set -e
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD="$ROOT/build"

sh "$ROOT/tools/setup.sh"
sh "$ROOT/tools/build.sh"

. "$ROOT/tools/wine-env.sh"
trap wine_env_cleanup EXIT INT TERM

start_xvfb
make_prefix "$BUILD/wine/win64" win64
# The copy of the system tests named system_tests_98.exe sees Windows 98.
WINEPREFIX="$BUILD/wine/win64" wine reg add 'HKCU\Software\Wine\AppDefaults\system_tests_98.exe' \
    /v Version /d win98 /f >/dev/null 2>&1

cd "$BUILD/win64"
ctest --output-on-failure "$@"
