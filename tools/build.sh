#!/bin/sh
# Builds the shipped program (build/win32, PE32) and the test build of the same
# sources with its tests (build/win64, PE32+, run under 64-bit Wine).
set -e
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD="$ROOT/build"

cmake -S "$ROOT" -B "$BUILD/win32" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-i686-w64-mingw32.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel -DBUILD_TESTING=OFF >/dev/null
cmake --build "$BUILD/win32" -j2 >/dev/null

cmake -S "$ROOT" -B "$BUILD/win64" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-x86_64-w64-mingw32.cmake" \
    -DCMAKE_BUILD_TYPE=Debug -DBUILD_TESTING=ON \
    -DVARNHOLT_WINEPREFIX="$BUILD/wine/win64" -DVARNHOLT_PRODUCT_EXE="$BUILD/win32/app/Varnholt.exe" >/dev/null
cmake --build "$BUILD/win64" -j2 >/dev/null
