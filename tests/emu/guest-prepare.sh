#!/bin/sh
# Inside the emulated machine, on its first boot while the image is built:
# configures the packages whose 32-bit maintainer scripts could not run in the
# chroot and makes the 32-bit Wine prefix that every test run starts from.
# Usage: guest-prepare.sh SHARE   (the repository, at the host's path)
set -u
share="$1"
out="$share/build/emu/image"
log="$out/prepare.log"
mkdir -p "$out"
exec >>"$log" 2>&1
say() { echo "emu-guest: $*" >/dev/ttyS0; echo "$*"; }
finish() { echo "$1" >"$out/status"; sync; exit "$1"; }

say "configuring the remaining packages"
dpkg --configure -a
if [ -n "$(dpkg --audit)" ]; then
    dpkg --audit
    say "packages are left unconfigured"
    finish 1
fi

Xvfb :87 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=:87
sleep 2

say "making the 32-bit Wine prefix"
started=$(cut -d. -f1 /proc/uptime)
status=0
prefix=/var/lib/velmora/wine-prefix  # the guest's own prefix, kept in the image
timeout 1200 sh "$share/tools/wine-prefix.sh" "$prefix" win32 </dev/null || status=$?
WINEPREFIX="$prefix" timeout 120 wineserver -k 2>/dev/null
WINEPREFIX="$prefix" timeout 120 wineserver -w 2>/dev/null
say "Wine prefix: exit $status after $(( $(cut -d. -f1 /proc/uptime) - started )) s"
kill "$xvfb" 2>/dev/null
[ "$status" = 0 ] && [ -f "$prefix"/system.reg ] || finish 1
finish 0
