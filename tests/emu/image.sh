#!/bin/sh
# Builds the emulated machine's disk image from Debian packages: a 64-bit
# Debian of the host's release with 32-bit Wine, Xvfb, the services' tools
# and a kernel, then boots it once to finish what a chroot cannot (32-bit
# maintainer scripts, the 32-bit Wine prefix) so that every test run starts
# from a ready machine.
# Usage: image.sh OUTPUT_DIR REPO_ROOT
# Writes OUTPUT_DIR/{disk.img,vmlinuz,initrd.img,ready}; needs root.
set -eu
out="$1"
root="$2"
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/common.sh"

release=bookworm
# 32-bit Wine and the X extensions its window code uses (Debian only
# recommends them); everything else is what the tests start in the machine.
packages_base="linux-image-amd64 initramfs-tools systemd-sysv udev kmod procps
  python3 tinyproxy xvfb xauth x11-apps fonts-wqy-microhei locales"
packages_wine="wine wine32:i386 fonts-wine libgnutls30:i386
  libxcomposite1:i386 libxcursor1:i386 libxfixes3:i386 libxi6:i386 libxinerama1:i386
  libxrandr2:i386 libxrender1:i386 libxxf86vm1:i386"

[ "$(id -u)" = 0 ] || die "building the emulated machine's image needs root (debootstrap, chroot); run as root once, later runs reuse $out"
for tool in debootstrap mkfs.ext4 chroot qemu-system-x86_64; do
    command -v "$tool" >/dev/null 2>&1 || die "building the emulated machine's image needs $tool (scripts/install-deps installs it)"
done

# The host's own Debian mirror for this release, as apt is set up here.
sources="$(apt-get indextargets --format '$(REPO_URI) $(RELEASE)' 'Identifier: Packages' 2>/dev/null |
           awk -v r="$release" '$2 == r || index($2, r "-") == 1' | sort -u)"
mirror="$(printf '%s\n' "$sources" | awk -v r="$release" '$2 == r { print $1; exit }')"
[ -n "$mirror" ] || die "apt here has no Debian $release source to build the emulated machine from"

parent="$(dirname "$out")"
mkdir -p "$parent"
work="$(mktemp -d "$parent/build.XXXXXX")"
chmod 755 "$work"
chroot_dir="$work/root"
log="$work/image.log"
mounted=""
cleanup() {
    for m in $mounted; do umount -l "$m" 2>/dev/null || true; done
    # Never follow a mount that is still there out of the work folder.
    rm -rf --one-file-system "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

in_chroot() {
    chroot "$chroot_dir" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin \
        DEBIAN_FRONTEND=noninteractive LC_ALL=C.UTF-8 "$@"
}
step() {
    msg="$1"; shift
    "$@" >>"$log" 2>&1 || { tail -n 30 "$log" >&2; die "image: $msg failed (log above)"; }
}

started=$(now)
echo "emu: building the machine image (Debian $release from $mirror)"
step "debootstrap" debootstrap --variant=minbase --arch=amd64 "$release" "$chroot_dir" "$mirror"

# The release and its updates, not the security suite: the machine only runs
# the tests, and its 64-bit and 32-bit libraries must come in the same
# versions, which a security index missing for one architecture (a mirror
# caught in its sync) would break.
printf '%s\n' "$sources" | grep -v -- '-security' |
    awk '{ print "deb " $1 " " $2 " main" }' >"$chroot_dir/etc/apt/sources.list"
# No daemon may start inside the chroot.
printf '#!/bin/sh\nexit 101\n' >"$chroot_dir/usr/sbin/policy-rc.d"
chmod 755 "$chroot_dir/usr/sbin/policy-rc.d"
mount -t proc proc "$chroot_dir/proc"; mounted="$chroot_dir/proc $mounted"
mount -t sysfs sysfs "$chroot_dir/sys"; mounted="$chroot_dir/sys $mounted"

# The initramfs must find the root disk and the shared folder's transport.
mkdir -p "$chroot_dir/etc/initramfs-tools"
printf 'virtio_pci\nvirtio_blk\next4\n' >>"$chroot_dir/etc/initramfs-tools/modules"
mkdir -p "$chroot_dir/etc/modules-load.d"
printf '9p\n9pnet_virtio\n' >"$chroot_dir/etc/modules-load.d/velmora.conf"
echo 'zh_CN.UTF-8 UTF-8' >"$chroot_dir/etc/locale.gen"

# Past any proxy's cache: a cached index older than its release file fails
# the update.
step "apt-get update" in_chroot apt-get update -q -o Acquire::http::No-Cache=true
# shellcheck disable=SC2086
step "installing the base packages" in_chroot apt-get install -y -q --no-install-recommends $packages_base
step "locale-gen" in_chroot locale-gen
step "adding i386" in_chroot dpkg --add-architecture i386
step "apt-get update (i386)" in_chroot apt-get update -q -o Acquire::http::No-Cache=true
# Some 32-bit maintainer scripts run 32-bit programs, which this kernel may
# refuse; the first boot below configures whatever is left.
# shellcheck disable=SC2086
in_chroot apt-get install -y -q --no-install-recommends $packages_wine >>"$log" 2>&1 ||
    echo "emu: some 32-bit packages are left to configure at first boot" >>"$log"
in_chroot dpkg -l wine32:i386 2>/dev/null | grep -q '^.[iUFH] *wine32' ||
    { tail -n 30 "$log" >&2; die "image: wine32:i386 was not unpacked (log above)"; }
step "apt-get clean" in_chroot apt-get clean
rm -f "$chroot_dir/usr/sbin/policy-rc.d"
for m in $mounted; do umount "$m"; done
mounted=""

# The machine: root disk, no network, a quiet boot that runs one unit.
echo "/dev/vda / ext4 rw,errors=remount-ro 0 1" >"$chroot_dir/etc/fstab"
echo velmora-emu >"$chroot_dir/etc/hostname"
: >"$chroot_dir/etc/resolv.conf"
for unit in apt-daily.timer apt-daily-upgrade.timer e2scrub_all.timer e2scrub_reap.service \
            fstrim.timer man-db.timer tinyproxy.service serial-getty@ttyS0.service getty@tty1.service \
            systemd-timesyncd.service; do
    ln -sf /dev/null "$chroot_dir/etc/systemd/system/$unit"
done
# The guest's entry: mount the share at the host's own path (hex on the
# kernel command line) and run the script the host names, then power off.
cat >"$chroot_dir/usr/local/sbin/velmora-guest" <<'EOF'
#!/bin/sh
set -u
unhex() { python3 -c 'import sys; sys.stdout.write(bytes.fromhex(sys.argv[1]).decode())' "$1"; }
share=""; script=""
for word in $(cat /proc/cmdline); do
    case "$word" in
        velmora.share=*) share="$(unhex "${word#velmora.share=}")" ;;
        velmora.run=*) script="$(unhex "${word#velmora.run=}")" ;;
    esac
done
[ -n "$share" ] && [ -n "$script" ] || { echo "velmora-guest: no share or script named"; exit 1; }
modprobe 9pnet_virtio 2>/dev/null; modprobe 9p 2>/dev/null
mkdir -p "$share"
mount -t 9p -o trans=virtio,version=9p2000.L,msize=262144 velmora "$share" ||
    { echo "velmora-guest: cannot mount the share at $share"; exit 1; }
sh "$share/$script" "$share"
status=$?
sync
exit $status
EOF
chmod 755 "$chroot_dir/usr/local/sbin/velmora-guest"
cat >"$chroot_dir/etc/systemd/system/velmora-guest.service" <<'EOF'
[Unit]
Description=Velmora's run in the emulated machine
After=local-fs.target systemd-modules-load.service
SuccessAction=poweroff-force
FailureAction=poweroff-force

[Service]
Type=oneshot
Environment=HOME=/root
ExecStart=/usr/local/sbin/velmora-guest
StandardOutput=journal+console
StandardError=journal+console
TimeoutStartSec=infinity

[Install]
WantedBy=multi-user.target
EOF
ln -sf /etc/systemd/system/velmora-guest.service \
    "$chroot_dir/etc/systemd/system/multi-user.target.wants/velmora-guest.service"

kernel="$(ls "$chroot_dir"/boot/vmlinuz-* 2>/dev/null | tail -n 1)"
initrd="$(ls "$chroot_dir"/boot/initrd.img-* 2>/dev/null | tail -n 1)"
[ -n "$kernel" ] && [ -n "$initrd" ] || die "image: the chroot has no kernel or initrd in /boot"
cp "$kernel" "$work/vmlinuz"
cp "$initrd" "$work/initrd.img"
echo "emu: root filesystem $(( $(now) - started )) s"

# Room for the Wine prefix and a run's own files on top of what is there.
started=$(now)
used_mb=$(du -sm --one-file-system "$chroot_dir" | cut -f1)
step "mkfs.ext4" mkfs.ext4 -q -F -L velmora -d "$chroot_dir" "$work/disk.img" "$(( used_mb + 1536 ))M"
rm -rf --one-file-system "$chroot_dir"
echo "emu: image file $(( $(now) - started )) s ($(( used_mb + 1536 )) MB)"

# First boot: configure what is left and make the 32-bit Wine prefix.
started=$(now)
status_dir="$root/build/emu/image"
rm -rf "$status_dir"
mkdir -p "$status_dir"
if ! boot_guest "$work/disk.img" raw "$work/vmlinuz" "$work/initrd.img" "$root" \
        tests/emu/guest-prepare.sh "$status_dir/console.log" "${VELMORA_EMU_PREPARE_TIMEOUT:-1500}"; then
    die "image: the first boot did not finish (console: $status_dir/console.log)"
fi
if [ "$(cat "$status_dir/status" 2>/dev/null)" != 0 ]; then
    tail -n 30 "$status_dir/prepare.log" >&2 2>/dev/null || true
    die "image: the first boot failed (log: $status_dir/prepare.log)"
fi
echo "emu: first boot (32-bit packages, Wine prefix) $(( $(now) - started )) s"

touch "$work/ready"
rm -f "$log"
rm -rf "$out"
mv "$work" "$out"
trap - EXIT
