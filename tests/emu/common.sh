# Sourced by the emulated machine's host scripts: messages, time, and one
# boot of the machine.

die() {
    echo "emu: FAILED: $*" >&2
    exit 1
}

now() { date +%s; }

hex() { printf '%s' "$1" | od -An -tx1 -v | tr -d ' \n'; }

# QEMU reads commas in option values as separators unless doubled.
qemu_path() { printf '%s' "$1" | sed 's/,/,,/g'; }

# boot_guest DISK FORMAT KERNEL INITRD SHARE SCRIPT CONSOLE TIMEOUT [QEMU ARGS...]
# Boots the machine with SHARE mounted at the same path inside and runs
# SHARE/SCRIPT there; the machine powers off when the script ends. Guest lines
# that start with "emu-guest:" are echoed as they come. Returns 1 when the
# machine is still running after TIMEOUT seconds (it is then killed).
boot_guest() {
    disk="$1"; format="$2"; kernel="$3"; initrd="$4"; share="$5"; script="$6"
    console="$7"; timeout="$8"
    shift 8
    : >"$console"
    # IA-32 code faults in this emulated CPU's SMAP handling; without SMAP the
    # guest kernel runs 32-bit user code.
    qemu-system-x86_64 -machine q35,accel=tcg -cpu max,-smap -smp 2 -m 3584 \
        -display none -monitor none -serial "file:$console" -no-reboot -nic none \
        -kernel "$kernel" -initrd "$initrd" \
        -append "root=/dev/vda rw console=ttyS0 panic=1 quiet velmora.share=$(hex "$share") velmora.run=$(hex "$script")" \
        -drive "file=$(qemu_path "$disk"),if=virtio,format=$format,cache=unsafe" \
        -virtfs "local,path=$(qemu_path "$share"),mount_tag=velmora,security_model=none,multidevs=remap" \
        "$@" </dev/null >>"$console.qemu" 2>&1 &
    qemu_pid=$!
    shown=0
    deadline=$(( $(now) + timeout ))
    while kill -0 "$qemu_pid" 2>/dev/null; do
        if [ "$(now)" -ge "$deadline" ]; then
            kill "$qemu_pid" 2>/dev/null || true
            wait "$qemu_pid" 2>/dev/null || true
            qemu_pid=""
            echo "emu: the machine was still running after $timeout s and was stopped" >&2
            return 1
        fi
        sleep 2
        lines="$(tr -d '\r' <"$console" | grep -a '^emu-guest:' || true)"
        count=$(printf '%s' "$lines" | grep -c '' || true)
        if [ "$count" -gt "$shown" ]; then
            printf '%s\n' "$lines" | tail -n "+$(( shown + 1 ))" | sed 's/^/  /'
            shown=$count
        fi
    done
    wait "$qemu_pid" 2>/dev/null || true
    qemu_pid=""
    return 0
}
