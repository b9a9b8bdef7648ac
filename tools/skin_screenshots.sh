#!/bin/sh
# Screenshots of the skin preview, without and with the skin, on $DISPLAY.
# Usage: tools/skin_screenshots.sh PREVIEW_EXE OUTPUT_DIR [win32|win64]
# The Wine prefix comes from WINEPREFIX (of the kind the third argument
# names, win32 by default); each picture is the whole screen and a copy cut
# to the window.
set -eu
preview=$1
out=$2
wine_arch="${3:-win32}"
. "$(dirname "$0")/wine-env.sh"
mkdir -p "$out"
export WINEDEBUG="${WINEDEBUG:--all}"

shoot() {
    name=$1
    shift
    "$wine" "$preview" "$@" >/dev/null 2>&1 &
    pid=$!
    sleep "${SKIN_SHOT_WAIT:-4}"
    import -window root "$out/$name-screen.png"
    # The preview window is 485 x 524 and centred on the screen.
    width=$(identify -format %w "$out/$name-screen.png")
    height=$(identify -format %h "$out/$name-screen.png")
    convert "$out/$name-screen.png" -crop "495x534+$(( (width - 485) / 2 - 5 ))+$(( (height - 524) / 2 - 5 ))" \
        +repage "$out/$name.png"
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

shoot plain
shoot skinned --skin
shoot skinned-menu --skin --menu
shoot skinned-message --skin --message
shoot skinned-open --skin --open
shoot skinned-drop --skin --drop
shoot plain-open --open
