#!/bin/sh
# Installs what building and testing Varnholt needs, from Debian's packages.
# Idempotent and quiet when everything is already present.
#
# Both compilers are needed: i686 builds the shipped PE32 Varnholt.exe, x86_64
# builds the same sources for the tests, which run under 64-bit Wine. The
# machines this project is built on cannot execute 32-bit x86 code at all (no
# 32-bit compatibility mode), so wine32 could not run there; with it absent,
# the wine wrapper uses wine64.
set -e

PACKAGES="cmake make \
g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 \
g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
googletest wine wine64 fonts-wine xvfb xauth x11-utils x11-apps xdotool \
imagemagick python3 python3-pil fonts-dejavu-core"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
export DEBIAN_FRONTEND=noninteractive

echo "setup: installing$missing" >&2
$SUDO apt-get update -qq >/dev/null
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
