# Sourced by the Wine scripts: the Wine loader and server for one kind of
# prefix, named by $wine_arch (win32 or win64). Sets and exports WINEARCH;
# sets $wine and $wineserver to the commands to call.
#
# win32 uses `wine` and `wineserver` as installed. win64 names the 64-bit
# loader and server explicitly: Debian's `wine` wrapper picks the 32-bit
# loader whenever wine32 is installed, even where 32-bit code cannot run,
# and a process started from the prefix must find the same loader again
# (WINELOADER) and the same server (WINESERVER).
case "${wine_arch:-}" in
    win32)
        wine=wine
        wineserver=wineserver
        ;;
    win64)
        if [ -x /usr/lib/wine/wine64 ]; then
            wine=/usr/lib/wine/wine64                       # Debian's layout
        else
            wine="$(command -v wine64 || echo wine64)"
        fi
        wineserver="$(dirname "$wine")/wineserver64"
        [ -x "$wineserver" ] || wineserver="$(dirname "$wine")/wineserver"
        [ -x "$wineserver" ] || wineserver=wineserver
        export WINELOADER="$wine"
        [ "$wineserver" = wineserver ] || export WINESERVER="$wineserver"
        ;;
    *)
        echo "wine-env.sh: wine_arch must be win32 or win64, not '${wine_arch:-}'" >&2
        exit 2
        ;;
esac
export WINEARCH="$wine_arch"
