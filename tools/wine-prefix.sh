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
    # Chinese glyphs for the dialog, caption and message-box fonts, whatever
    # the prefix's locale.
    link='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
    for face in "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" "MS Sans Serif" "Segoe UI" "Arial"; do
        wine reg add "$link" /v "$face" /t REG_MULTI_SZ /d "wqy-microhei.ttc,WenQuanYi Micro Hei" /f \
            </dev/null >/dev/null 2>&1 || true
    done
    # Wine draws the window frames itself, so screenshots taken on a display
    # without a window manager show the title bar too.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 || true
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
