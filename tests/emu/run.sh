#!/bin/sh
# Runs the shipped 32-bit Velmora.exe end to end in an emulated x86-64
# machine, for hosts whose kernel refuses 32-bit x86 code: the machine runs
# the win32 build's own end-to-end tests under 32-bit Wine on a virtual
# display, with the local services inside it. Nothing leaves the machine but
# the results, which come back through the shared repository folder.
#
# Usage: sh tests/emu/run.sh   (after: cmake --build --preset win32 --target Velmora jedata e2e_tests)
# Environment:
#   VELMORA_EMU_CACHE    where the machine image is kept between runs
#                        (default /var/cache/velmora, else ~/.cache/velmora)
#   VELMORA_EMU_TESTS    gtest filter, instead of the one below
#   VELMORA_EMU_PROGRAM  a folder with a Velmora.exe to run in place of
#                        build/win32/bin (another build, a damaged copy, ...)
#   VELMORA_EMU_TIMEOUT  seconds the whole machine run may take (default 1800)
# Prints each phase's time; exits non-zero when a test fails, the machine
# writes no result or runs out of time, or this host cannot run the machine.
set -eu

# The tests run in the machine, where each start of the program takes some
# 15 s: start with the skin, extraction, verification through the hiding
# proxy and a dead one, system proxy on and off, import and export through
# the file dialogs (in a folder named in Hangul), and the close box.
emu_tests="Skin.FirstAndLaterStartsWriteBothFilesAndShowTheSkin
ExtractionTest.StartValuesSendTheExactFormAndFillNumberedRows
VerificationTest.SelectedRowsPassOnlyThroughTheHidingProxy
ListActionsTest.SystemProxySwitchWritesAndClearsTheRegistry
ListActionsTest.ImportAndExportInAFolderNamedInHangul
WindowLifecycle.CloseBoxEndsWithExitCodeZero"

here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
. "$here/common.sh"
build="$root/build/win32"
results="$root/build/emu/run"
artifacts="$build/artifacts"
whole_started=$(now)

filter="${VELMORA_EMU_TESTS:-$(printf '%s' "$emu_tests" | tr '\n' ':')}"
expected=$(printf '%s' "$filter" | tr ':' '\n' | grep -c . || true)
case "$filter" in *'*'*|*'?'*|*-*) expected=0 ;; esac  # a pattern: any count will do

for file in bin/Velmora.exe src/skin/jedata.dll tests/e2e/e2e_tests.exe; do
    [ -f "$build/$file" ] || die "build/win32/$file is missing; build it first: cmake --preset win32 && cmake --build --preset win32 --target Velmora jedata e2e_tests"
done
program_args=""
program=0
if [ -n "${VELMORA_EMU_PROGRAM:-}" ]; then
    [ -f "$VELMORA_EMU_PROGRAM/Velmora.exe" ] || die "VELMORA_EMU_PROGRAM names no folder with a Velmora.exe: $VELMORA_EMU_PROGRAM"
    program_dir="$(cd "$VELMORA_EMU_PROGRAM" && pwd)"
    program=1
    echo "emu: the machine runs $program_dir/Velmora.exe instead of the build's"
fi
for tool in qemu-system-x86_64 qemu-img; do
    command -v "$tool" >/dev/null 2>&1 || die "this host has no $tool to run the emulated machine (scripts/install-deps installs it)"
done

# The image, cached outside the repository and keyed by what defines it.
if [ -n "${VELMORA_EMU_CACHE:-}" ]; then
    cache="$VELMORA_EMU_CACHE"
elif [ "$(id -u)" = 0 ]; then
    cache=/var/cache/velmora
else
    cache="${XDG_CACHE_HOME:-$HOME/.cache}/velmora"
fi
mkdir -p "$cache" 2>/dev/null || die "cannot create the image cache folder $cache"
key="$(cat "$here/image.sh" "$here/guest-prepare.sh" "$root/tools/wine-prefix.sh" "$root/tools/wine-env.sh" |
       sha256sum | cut -c1-16)"
image="$cache/image-$key"
free_mb() { df -Pm "$1" | awk 'NR == 2 { print $4 }'; }

started=$(now)
if [ ! -f "$image/ready" ]; then
    exec 9>"$cache/lock"
    flock 9  # another run may be building the same image
    if [ ! -f "$image/ready" ]; then
        # Left by a run that was killed: nobody else builds while we hold the lock.
        rm -rf --one-file-system "$cache"/build.*
        find "$cache" -maxdepth 1 -name 'run.*' -mmin +1440 -exec rm -rf {} + 2>/dev/null || true
        [ "$(free_mb "$cache")" -ge 6000 ] ||
            die "building the machine image needs about 6 GB free in $cache (the image itself keeps about 3.5 GB); $(free_mb "$cache") MB are free"
        sh "$here/image.sh" "$image" "$root"
        for old in "$cache"/image-*; do
            [ "$old" = "$image" ] || rm -rf --one-file-system "$old"
        done
    fi
    exec 9>&-
    image_phase="image built in $(( $(now) - started )) s"
else
    image_phase="image cached"
fi
echo "emu: $image_phase ($image)"
[ "$(free_mb "$cache")" -ge 1000 ] || die "a machine run needs about 1 GB free in $cache; $(free_mb "$cache") MB are free"

# Each run boots a copy-on-write layer over the image, so the image stays clean.
run_dir="$(mktemp -d "$cache/run.XXXXXX")"
qemu_pid=""
cleanup() {
    [ -n "$qemu_pid" ] && kill "$qemu_pid" 2>/dev/null
    rm -rf "$run_dir"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
qemu-img create -q -f qcow2 -b "$image/disk.img" -F raw "$run_dir/disk.qcow2"

rm -rf "$results"
mkdir -p "$results" "$artifacts"
rm -f "$artifacts"/*.bmp "$artifacts"/*.png
cat >"$results/request.env" <<EOF
EMU_TESTS='$filter'
EMU_PROGRAM=$program
EMU_PREFIX_TIMEOUT=600
EMU_TEST_TIMEOUT=900
EOF
if [ "$program" = 1 ]; then
    set -- -virtfs "local,path=$(qemu_path "$program_dir"),mount_tag=program,security_model=none"
else
    set --
fi

echo "emu: booting the machine; the end-to-end tests there: $filter"
started=$(now)
timeout="${VELMORA_EMU_TIMEOUT:-1800}"
finished=yes
boot_guest "$run_dir/disk.qcow2" qcow2 "$image/vmlinuz" "$image/initrd.img" "$root" \
    tests/emu/guest-test.sh "$results/console.log" "$timeout" "$@" || finished=no
machine_s=$(( $(now) - started ))

# Pictures for a person: the tests' own and the screen at the end.
if command -v convert >/dev/null 2>&1; then
    for picture in "$artifacts"/*.bmp "$results"/*.xwd; do
        [ -f "$picture" ] && convert "$picture" "${picture%.*}.png" 2>/dev/null && rm -f "$picture"
    done
fi

phase() { awk -v name="$1" '$1 == name { print $2 }' "$results/phases" 2>/dev/null; }
echo "emu: phases: $image_phase; boot $(phase boot) s; Wine prefix $(phase prefix) s;" \
     "tests $(phase tests) s; machine run $machine_s s; whole $(( $(now) - whole_started )) s"
if [ -f "$results/e2e.log" ]; then
    # A failed comparison of two files prints them whole: lines are cut.
    cut -c1-300 "$results/e2e.log" | sed 's/^/  /'
fi
echo "emu: screenshots: $artifacts and $results; guest log: $results/guest.log; console: $results/console.log"

[ "$finished" = yes ] || die "the machine did not finish within $timeout s (console: $results/console.log)"
[ -f "$results/status" ] || die "the machine wrote no result (console: $results/console.log, guest log: $results/guest.log)"
status="$(cat "$results/status")"
[ "$status" = 0 ] || die "the end-to-end tests in the machine failed (exit $status)"
passed=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\{0,1\}\..*/\1/p' "$results/e2e.log" | tail -n 1)
[ -n "$passed" ] && [ "$passed" -gt 0 ] || die "the end-to-end tests in the machine ran no test"
[ "$expected" = 0 ] || [ "$passed" = "$expected" ] ||
    die "the filter names $expected tests but $passed ran; a test was renamed? (emu_tests in tests/emu/run.sh)"
echo "emu: the shipped 32-bit Velmora.exe passed $passed end-to-end tests in the emulated machine"
