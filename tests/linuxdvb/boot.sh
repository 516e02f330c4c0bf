#!/usr/bin/env bash
# Run step of the kernel rig: boots the fetched kernel with the initramfs of
# the build step in qemu (software emulation) and keeps
# the serial console in BUILD_DIR/linuxdvb-rig/console.log.
#   boot.sh BUILD_DIR
# The guest powers itself off after the last scenario; a guest that hangs is
# ended after QV_RIG_TIMEOUT seconds (300). The guest writes its captures as a tar
# archive on a raw virtio disk; they are unpacked into BUILD_DIR/linuxdvb-rig/captures/.
set -euo pipefail
build=$(realpath "$1")
abi=$(cat "$build/kernel/abi")
rig=$build/linuxdvb-rig
kernel=$build/kernel/image/boot/vmlinuz-$abi
# Software emulation by default: a /dev/kvm node is no promise that KVM works
# (on these machines it hangs). QV_RIG_ACCEL=kvm uses it where it does.
accel=${QV_RIG_ACCEL:-tcg}
# loglevel=1 keeps kernel messages off the console that carries the
# transcripts; panic=-1 with -no-reboot turns a failing init into an exit.
disk=$rig/captures.img
rm -rf "$disk" "$rig/captures"
truncate -s 96M "$disk"
status=0
timeout -k 5 "${QV_RIG_TIMEOUT:-300}" qemu-system-x86_64 \
  -accel "$accel" -smp 2 -m 512 \
  -kernel "$kernel" -initrd "$rig/initramfs.cpio" \
  -drive "file=$disk,format=raw,if=virtio" \
  -append "console=ttyS0 loglevel=1 panic=-1 rdinit=/init" \
  -nographic -no-reboot -net none \
  < /dev/null > "$rig/console.log" 2>&1 || status=$?
if [ $status -eq 124 ] || [ $status -eq 137 ]; then
  echo "boot: the guest did not power off within ${QV_RIG_TIMEOUT:-300} s; ended it" >&2
elif [ $status -ne 0 ]; then
  echo "boot: qemu-system-x86_64 failed with status $status" >&2
  tail -n 20 "$rig/console.log" >&2
  exit 1
fi
mkdir -p "$rig/captures"
# An empty disk (a guest that wrote nothing) is no archive; the probe step says so.
tar -xf "$disk" -C "$rig/captures" 2>/dev/null || true
rm -f "$disk"
exit 0
