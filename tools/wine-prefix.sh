#!/bin/sh
# Prepares a 32-bit Wine prefix for the program and its tests, once, and keeps
# its Wine server running so that later program starts are quick.
# Usage: wine-prefix.sh PREFIX
set -eu
prefix="$1"
export WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG=-all
# No Mono or Gecko installers: nothing here needs them, and CI has no network.
export WINEDLLOVERRIDES="mscoree,mshtml="

if [ ! -f "$prefix/.velmora-ready" ]; then
    mkdir -p "$prefix"
    wineboot -i </dev/null >/dev/null 2>&1 || true
    wineserver -w </dev/null >/dev/null 2>&1 || true
    # Chinese glyphs for the dialog fonts, whatever the prefix's locale.
    reg="$prefix/fontlink.reg"
    {
        printf 'Windows Registry Editor Version 5.00\r\n\r\n'
        printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]\r\n'
        for face in "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" "MS Sans Serif" "Segoe UI" "Arial"; do
            printf '"%s"=hex(7):77,00,71,00,79,00,2d,00,6d,00,69,00,63,00,72,00,6f,00,68,00,65,00,69,00,2e,00,74,00,74,00,63,00,2c,00,57,00,65,00,6e,00,51,00,75,00,61,00,6e,00,59,00,69,00,20,00,4d,00,69,00,63,00,72,00,6f,00,20,00,48,00,65,00,69,00,00,00,00,00\r\n' "$face"
        done
        printf '\r\n'
        # Wine draws the window frames itself, so screenshots taken on a
        # display without a window manager show the title bar too.
        printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n\r\n'
    } > "$reg"
    wine regedit /S "$reg" </dev/null >/dev/null 2>&1 || true
    wineserver -w </dev/null >/dev/null 2>&1 || true
    touch "$prefix/.velmora-ready"
fi
# Persistent server: it stays until `wineserver -k` (the test script's end).
# Every process started here runs on with no standard streams of ours: a
# test runner waiting for its output pipes to close would wait forever.
wineserver -p </dev/null >/dev/null 2>&1
# Start Wine's own background services now, so that the first test program
# does not start them with its output pipes.
wine wineboot </dev/null >/dev/null 2>&1 || true
