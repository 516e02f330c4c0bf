#!/usr/bin/env bash
# Build step of the kernel rig: the vidtv modules out of tree against the
# headers of the fetched kernel, and the guest's initramfs.
#   build_guest.sh BUILD_DIR
# Takes from BUILD_DIR: kernel/ (the fetch step), bin/quorvexdemo-headless,
# bin/quorvex-compliance, bin/quorvex-sweep, bin/qv_ts_check, bin/qv_rc5_send, bin/libqv_ioctl_trace.so and
# the library under test, bin/linuxdvb/libquorvex.so (QV_RIG_LIBRARY names another one);
# from the host: the Linux DVB tools the parity scenarios compare with (dvbv5-zap of
# dvb-tools, szap of dvb-apps).
# Writes BUILD_DIR/linuxdvb-rig/: vidtv/*.ko, root/ and initramfs.cpio.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(realpath "$1")
cache=$build/kernel
rig=$build/linuxdvb-rig
abi=$(cat "$cache/abi")
headers=/usr/src/linux-headers-$abi
library=${QV_RIG_LIBRARY:-$build/bin/linuxdvb/libquorvex.so}
tracer=$build/bin/libqv_ioctl_trace.so
programs=("$build/bin/quorvexdemo-headless" "$build/bin/qv_ts_check" "$build/bin/qv_rc5_send"
          "$build/bin/quorvex-compliance" "$build/bin/quorvex-sweep")
peers=(/usr/bin/dvbv5-zap /usr/bin/szap)
for f in "${programs[@]}" "$library" "$tracer"; do
  [ -f "$f" ] || { echo "build_guest: missing $f (build the project first)" >&2; exit 1; }
done
for f in "${peers[@]}"; do
  [ -x "$f" ] || { echo "build_guest: missing $f (scripts/setup rig installs it)" >&2; exit 1; }
done
[ -d "$headers" ] || { echo "build_guest: missing $headers (run the fetch step)" >&2; exit 1; }
mkdir -p "$rig"

# vidtv: rebuilt when its sources or the headers change.
stamp="$abi $(cat "$cache/vidtv.from")"
if [ ! -f "$rig/vidtv/dvb-vidtv-bridge.ko" ] || [ "$(cat "$rig/vidtv.built" 2>/dev/null)" != "$stamp" ]; then
  rm -rf "$rig/vidtv"
  cp -r "$cache/vidtv" "$rig/vidtv"
  make -s -C "$headers" M="$rig/vidtv" CONFIG_DVB_VIDTV=m modules 2>&1 |
    grep -v 'Skipping BTF generation' || true
  for m in tuner demod bridge; do
    [ -f "$rig/vidtv/dvb-vidtv-$m.ko" ] || { echo "build_guest: vidtv did not build" >&2; exit 1; }
  done
  echo "$stamp" > "$rig/vidtv.built"
fi

root=$rig/root
rm -rf "$root"
mkdir -p "$root"/{bin,dev,proc,sys,tmp,qv/bin,qv/lib,qv/modules,qv/scenarios}

# Modules in load order, each after what it depends on (the depends= field of
# its .modinfo section). The vidtv bridge probes its tuner and demodulator by
# name, and the guest has no modprobe: they are loaded before it.
kernel_modules=$cache/image/lib/modules/$abi/kernel
declare -A module_file=() loaded=()
while IFS= read -r -d '' f; do
  n=${f##*/}; n=${n%.xz}; n=${n%.ko}
  module_file[${n//-/_}]=$f
done < <(find "$kernel_modules" -name '*.ko' -print0 -o -name '*.ko.xz' -print0)
for m in tuner demod bridge; do module_file[dvb_vidtv_$m]=$rig/vidtv/dvb-vidtv-$m.ko; done
order=()
add_module() {
  local key=${1//-/_}
  [ -n "${loaded[$key]:-}" ] && return
  local file=${module_file[$key]:-}
  [ -n "$file" ] || { echo "build_guest: no module $1 in the kernel package" >&2; exit 1; }
  local plain=$root/qv/modules/$key.ko
  case $file in *.xz) xz -dc "$file" > "$plain" ;; *) cp "$file" "$plain" ;; esac
  local dep
  for dep in $(objcopy -O binary --only-section=.modinfo "$plain" /dev/stdout |
               tr '\0' '\n' | sed -n 's/^depends=//p' | tr ',' ' '); do
    add_module "$dep"
  done
  loaded[$key]=1
  order+=("$key.ko")
}
# virtio-blk: the disk the guest hands its captures out on, for ffprobe on the host.
for m in mc dvb-core rc-core ir-rc5-decoder rc-loopback dvb-vidtv-tuner dvb-vidtv-demod dvb-vidtv-bridge \
         virtio_pci virtio_blk; do
  add_module "$m"
done
printf '%s\n' "${order[@]}" > "$root/qv/modules/order"

# Programs, stripped of their debug information, and the shared libraries
# they load, at the paths the dynamic loader looks in.
for f in "${programs[@]}"; do strip --strip-debug -o "$root/qv/bin/$(basename "$f")" "$f"; done
strip --strip-debug -o "$root/qv/lib/libquorvex.so" "$library"
strip --strip-debug -o "$root/qv/lib/libqv_ioctl_trace.so" "$tracer"
for f in "${peers[@]}"; do cp "$f" "$root/qv/bin/"; done
for f in "${programs[@]}" "$library" "$tracer" "${peers[@]}"; do
  ldd "$f" | awk '/=> \// { print $3 } /^\t\/[^ ]+ \(/ { print $1 }'
done | sort -u | while read -r lib; do
  mkdir -p "$root$(dirname "$lib")"
  cp -L "$lib" "$root$lib"
done
if ldd "${programs[0]}" "$library" "${peers[@]}" | grep -q 'not found'; then
  echo "build_guest: a shared library was not found:" >&2
  ldd "${programs[0]}" "$library" "${peers[@]}" | grep 'not found' >&2
  exit 1
fi

cp "$(command -v busybox)" "$root/bin/busybox"
cp "$here/guest/init" "$root/init"
cp "$here/guest/lib.sh" "$root/qv/lib.sh"
cp "$here"/scenarios/*.script "$here"/scenarios/*.compliance "$here"/scenarios/*.sweep \
   "$here"/scenarios/*.channels \
   "$root/qv/scenarios/"
for f in "$here"/scenarios/*.sh; do [ -f "$f" ] && cp "$f" "$root/qv/scenarios/"; done
(cd "$root" && find . | busybox cpio -o -H newc 2>/dev/null) > "$rig/initramfs.cpio"
echo "build_guest: initramfs $(($(stat -c %s "$rig/initramfs.cpio") / 1024)) KB, modules ${order[*]}"
