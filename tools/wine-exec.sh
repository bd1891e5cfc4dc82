#!/bin/sh
# Runs a Windows executable under Wine in the prefix named by WINEPREFIX
# (CTest's emulator for the test executables).
: "${WINEPREFIX:?WINEPREFIX must name the build's Wine prefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
exec wine "$@"
