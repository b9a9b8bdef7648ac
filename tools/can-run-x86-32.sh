#!/bin/sh
# Whether this machine runs 32-bit x86 programs, found out by starting one:
# the 32-bit Wine loader, which the 32-bit build's tests need anyway. A 64-bit
# kernel may have its IA-32 emulation switched off; every i386 program then
# fails to start ("Exec format error") whatever is installed.
# Prints one line saying what it saw; exits 0 when 32-bit code runs.
loader=/usr/lib/wine/wine
if [ ! -e "$loader" ]; then
    echo "there is no 32-bit Wine loader ($loader)"
    exit 1
fi
out="$("$loader" --version 2>&1 </dev/null)"
status=$?
case "$status:$out" in
    0:wine-*)
        echo "$loader --version says $out"
        exit 0
        ;;
esac
echo "$loader --version failed (exit $status: $(printf '%s' "$out" | tail -n 1 | sed 's/^.*: //'))"
exit 1
