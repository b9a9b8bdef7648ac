#!/bin/sh
# Inside the emulated machine at each test run: a virtual display, the local
# services, the prepared 32-bit Wine prefix, then the win32 build's own
# end-to-end tests on the shipped Velmora.exe under 32-bit Wine.
# Usage: guest-test.sh SHARE   (the repository, at the host's path)
# Reads build/emu/run/request.env from the host; writes its results there.
set -u
share="$1"
out="$share/build/emu/run"
build="$share/build/win32"
prefix=/var/lib/velmora/wine-prefix  # made in the image by guest-prepare.sh
. "$out/request.env"
exec >>"$out/guest.log" 2>&1
say() { echo "emu-guest: $*" >/dev/ttyS0; echo "$*"; }
uptime_s() { cut -d. -f1 /proc/uptime; }
phase() { echo "$1 $2" >>"$out/phases"; }
finish() {
    WINEPREFIX=$prefix timeout 60 wineserver -k 2>/dev/null
    sh "$share/tests/servers/services.sh" stop /tmp/velmora-services >/dev/null 2>&1
    [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null
    echo "$1" >"$out/status"
    sync
    exit 0
}

phase boot "$(uptime_s)"
say "booted after $(uptime_s) s"

# Wine maps a program's file into memory, which the shared folder (9p
# without a page cache) does not serve faithfully: the program and the test
# runner run from byte-identical copies on the machine's own disk, put at
# their build paths. The skin files the program writes next to itself stay
# in the machine too.
local_bin=/var/tmp/velmora-bin
mkdir -p "$local_bin"
if [ "$EMU_PROGRAM" = 1 ]; then
    # Another build of the program, named by the host, in place of this one's.
    mkdir -p /mnt/program
    mount -t 9p -o trans=virtio,version=9p2000.L,msize=262144 program /mnt/program &&
        cp /mnt/program/Velmora.exe "$local_bin/" ||
        { say "cannot copy the program folder the host named"; finish 1; }
    say "running the Velmora.exe the host named instead of the build's"
else
    cp "$build/bin/Velmora.exe" "$local_bin/" || { say "cannot copy Velmora.exe"; finish 1; }
fi
cp "$build/tests/e2e/e2e_tests.exe" /var/tmp/e2e_tests.exe &&
    mount --bind "$local_bin" "$build/bin" &&
    mount --bind /var/tmp/e2e_tests.exe "$build/tests/e2e/e2e_tests.exe" ||
    { say "cannot put the local copies at the build paths"; finish 1; }

Xvfb :87 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=:87
if ! sh "$share/tests/servers/services.sh" start /tmp/velmora-services; then
    say "the local services did not start"
    finish 1
fi

started=$(uptime_s)
if ! timeout "$EMU_PREFIX_TIMEOUT" sh "$share/tools/wine-prefix.sh" "$prefix" win32 </dev/null; then
    say "the Wine prefix did not come up within $EMU_PREFIX_TIMEOUT s"
    finish 1
fi
phase prefix $(( $(uptime_s) - started ))
say "Wine prefix up after $(( $(uptime_s) - started )) s"

started=$(uptime_s)
: >"$out/e2e.log"
# A crash ends the process at once instead of waiting on the debugger.
LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES=winedbg.exe=d \
    timeout -k 30 "$EMU_TEST_TIMEOUT" wine "$build/tests/e2e/e2e_tests.exe" \
    --gtest_filter="$EMU_TESTS" --gtest_color=no >"$out/e2e.log" 2>&1 </dev/null &
tests=$!
# Each test's start and end on the host's screen as it happens.
tail -n +1 -f --pid=$tests "$out/e2e.log" 2>/dev/null |
    grep -a --line-buffered -E '^\[ +(RUN|OK|FAILED) +\]' |
    sed -u 's/^/emu-guest: /' >/dev/ttyS0 &
wait "$tests"
status=$?
phase tests $(( $(uptime_s) - started ))
[ "$status" = 124 ] && say "the end-to-end tests did not end within $EMU_TEST_TIMEOUT s"
say "end-to-end tests: exit $status after $(( $(uptime_s) - started )) s"
xwd -root -silent -display :87 >"$out/screen-at-end.xwd" 2>/dev/null
finish "$status"
