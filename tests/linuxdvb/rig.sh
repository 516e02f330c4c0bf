#!/usr/bin/env bash
# The kernel rig: the Linux DVB build of the tuner library against the
# kernel's virtual DVB adapter (vidtv) and loopback remote-control device, in
# a qemu guest. Steps: fetch (Debian kernel packages, cached), build (vidtv
# modules and the initramfs), boot (the scenarios run in the guest), compare,
# and ffprobe on the recordings the guest handed out.
#   rig.sh [BUILD_DIR]    (default: build; needs BUILD_DIR/bin from the normal build)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(realpath "${1:-build}")
start=$SECONDS
step_start=$SECONDS
step() {  # prints how long the step before took
  echo "linuxdvb rig: $1 took $((SECONDS - step_start)) s"
  step_start=$SECONDS
}

"$here/fetch.sh" "$build"
step fetch
"$here/build_guest.sh" "$build"
step build
"$here/boot.sh" "$build"
step "boot and scenarios"
status=0
"$here/compare.sh" "$build/linuxdvb-rig/console.log" "$here/scenarios" || status=$?
"$here/probe_captures.sh" "$build/linuxdvb-rig/captures" || status=1
step "compare and ffprobe"
echo "linuxdvb rig: $((SECONDS - start)) s in all; console in $build/linuxdvb-rig/console.log"
exit $status
