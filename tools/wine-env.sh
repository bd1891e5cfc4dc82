# Shell functions shared by the run and test commands: a virtual X server and
# Wine prefixes that belong to the build, never the user's ~/.wine.
# Source it; call wine_env_cleanup when done (the callers trap EXIT).

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

VARNHOLT_XVFB_PID=""
VARNHOLT_PREFIXES=""

# Starts Xvfb on the first free display and exports DISPLAY.
start_xvfb()
{
    display=90
    while [ -e "/tmp/.X${display}-lock" ] || [ -e "/tmp/.X11-unix/X${display}" ]; do
        display=$((display + 1))
    done
    Xvfb ":${display}" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    VARNHOLT_XVFB_PID=$!
    export DISPLAY=":${display}"
    tries=0
    while ! xdpyinfo >/dev/null 2>&1; do
        tries=$((tries + 1))
        if [ "$tries" -gt 100 ]; then
            echo "Xvfb did not start on $DISPLAY" >&2
            return 1
        fi
        sleep 0.1
    done
}

# make_prefix DIR ARCH: a fresh prefix (win32 or win64) with a persistent
# wineserver whose output goes nowhere, a virtual desktop and marlett.ttf.
make_prefix()
{
    prefix="$1"
    arch="$2"
    rm -rf "$prefix"
    mkdir -p "$prefix"
    WINEPREFIX="$prefix" wineserver -p >/dev/null 2>&1 </dev/null
    VARNHOLT_PREFIXES="$VARNHOLT_PREFIXES $prefix"
    WINEPREFIX="$prefix" WINEARCH="$arch" wine wineboot -i >/dev/null 2>&1 </dev/null
    WINEPREFIX="$prefix" wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    WINEPREFIX="$prefix" wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 800x600 /f >/dev/null 2>&1
    if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
        cp /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/"
    fi
    # The desktop window takes the virtual-desktop setting when it starts anew.
    WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
    WINEPREFIX="$prefix" wineserver -p >/dev/null 2>&1 </dev/null
}

wine_env_cleanup()
{
    for prefix in $VARNHOLT_PREFIXES; do
        WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
    done
    if [ -n "$VARNHOLT_XVFB_PID" ]; then
        kill "$VARNHOLT_XVFB_PID" 2>/dev/null || true
        wait "$VARNHOLT_XVFB_PID" 2>/dev/null || true
    fi
}
