#!/bin/sh
# Prepares a Wine prefix for the program and its tests, once, and keeps its
# Wine server running so that later program starts are quick.
# Usage: wine-prefix.sh PREFIX [win32|win64] [DPI]   (default win32: the
# 32-bit program; win64 for the 64-bit build of it and its tests. DPI: the
# display's, 96 unless given; 144 is a 150 % display, 192 one at 200 %)
set -eu
prefix="$1"
wine_arch="${2:-win32}"
dpi="${3:-96}"
case "$dpi" in
    ''|*[!0-9]*) echo "wine-prefix.sh: the DPI must be a whole number, not '$dpi'" >&2; exit 2 ;;
esac
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

# Wine's own fonts in the prefix: Marlett draws the title bar's buttons
# (without it the close box shows as the letter "r"), and Tahoma is the face
# of Wine's captions and dialogs. Wine finds them in its data folder, but not
# every build looks there (Debian's 64-bit loader does not), so the prefix
# keeps copies of its own.
fonts="$prefix/drive_c/windows/Fonts"
found_fonts=""
for dir in "$(dirname "$(command -v "$wine" || echo /usr/bin/wine)")/../share/wine/fonts" \
           /usr/share/wine/fonts /usr/local/share/wine/fonts; do
    if [ -f "$dir/marlett.ttf" ] && [ -f "$dir/tahoma.ttf" ]; then
        mkdir -p "$fonts"
        for font in marlett.ttf tahoma.ttf tahomabd.ttf; do
            [ -f "$fonts/$font" ] || [ ! -f "$dir/$font" ] || cp "$dir/$font" "$fonts/$font"
        done
        found_fonts=yes
        break
    fi
done
[ -n "$found_fonts" ] ||
    echo "wine-prefix.sh: Wine's own fonts (package fonts-wine) are missing: title bars will show letters for their buttons" >&2

# Settings applied at every run, after any update of the prefix:
# - Chinese glyphs for the dialog, caption and message-box fonts, whatever the
#   prefix's locale (a REGEDIT4 file takes hex(7) data as ANSI bytes). Wine
#   looks a link up by the full name of the face it chose, so the bold
#   Tahoma of the title bars needs one of its own. In a Chinese locale Wine
#   draws "MS Shell Dlg", the face of the title bars and dialogs, with
#   SimSun, which only Windows brings: the installed Chinese face stands in;
# - Wine draws the window frames itself, so screenshots taken on a display
#   without a window manager show the title bar too;
# - the display's DPI, which every program reads as it starts.
reg="$prefix/velmora-settings.reg"
link="$(printf '%s' 'wqy-microhei.ttc,WenQuanYi Micro Hei' | od -An -tx1 -v | tr -s ' \n' ',' | sed 's/^,//')00,00"
{
    printf 'REGEDIT4\r\n\r\n'
    printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]\r\n'
    for face in "Tahoma" "Tahoma Bold" "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" "MS Sans Serif" "Segoe UI" "Arial"; do
        printf '"%s"=hex(7):%s\r\n' "$face" "$link"
    done
    printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n"SimSun"="WenQuanYi Micro Hei"\r\n'
    printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n'
    printf '\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"LogPixels"=dword:%08x\r\n\r\n' "$dpi"
} >"$reg"
"$wine" regedit /S "$reg" </dev/null >/dev/null 2>&1 || true
