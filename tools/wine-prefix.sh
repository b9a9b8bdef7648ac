#!/bin/sh
# Prepares a Wine prefix for the program and its tests, once, and keeps its
# Wine server running so that later program starts are quick.
# Usage: wine-prefix.sh PREFIX [win32|win64]   (default win32: the 32-bit
# program; win64 for the 64-bit build of it and its tests)
set -eu
prefix="$1"
wine_arch="${2:-win32}"
. "$(dirname "$0")/wine-env.sh"
export WINEPREFIX="$prefix" WINEDEBUG=-all
# No Mono or Gecko installers: nothing here needs them, and CI has no network.
export WINEDLLOVERRIDES="mscoree,mshtml="

if [ ! -f "$prefix/.velmora-ready" ]; then
    mkdir -p "$prefix"
    "$wine" wineboot -i </dev/null >/dev/null 2>&1 || true
    "$wineserver" -w </dev/null >/dev/null 2>&1 || true
    # A loader that cannot start leaves no registry behind: say so here
    # rather than let every test fail on its own.
    if [ ! -f "$prefix/system.reg" ]; then
        echo "wine-prefix.sh: $wine wineboot did not create $prefix ($WINEARCH)" >&2
        exit 1
    fi
    touch "$prefix/.velmora-ready"
fi
# Persistent server: it stays until `wineserver -k` (the test script's end).
# Every process started here runs on with no standard streams of ours: a
# test runner waiting for its output pipes to close would wait forever.
"$wineserver" -p </dev/null >/dev/null 2>&1 || true
# Start Wine's own background services now, so that the first test program
# does not start them with its output pipes; this also finishes any update of
# the prefix, which would otherwise rewrite the settings below.
"$wine" wineboot </dev/null >/dev/null 2>&1 || true

# Settings applied at every run, after any update of the prefix:
# - Chinese glyphs for the dialog, caption and message-box fonts, whatever the
#   prefix's locale (a REGEDIT4 file takes hex(7) data as ANSI bytes);
# - Wine draws the window frames itself, so screenshots taken on a display
#   without a window manager show the title bar too.
reg="$prefix/velmora-settings.reg"
link="$(printf '%s' 'wqy-microhei.ttc,WenQuanYi Micro Hei' | od -An -tx1 -v | tr -s ' \n' ',' | sed 's/^,//')00,00"
{
    printf 'REGEDIT4\r\n\r\n'
    printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]\r\n'
    for face in "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" "MS Sans Serif" "Segoe UI" "Arial"; do
        printf '"%s"=hex(7):%s\r\n' "$face" "$link"
    done
    printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n\r\n'
} >"$reg"
"$wine" regedit /S "$reg" </dev/null >/dev/null 2>&1 || true
