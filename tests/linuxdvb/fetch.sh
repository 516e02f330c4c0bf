#!/usr/bin/env bash
# Fetch step of the kernel rig: the Debian kernel image package that
# linux-image-amd64 depends on, the kernel source package of the same version
# (only the vidtv driver is taken out of it) and the matching headers package.
#   fetch.sh BUILD_DIR
# Downloads are kept in BUILD_DIR/kernel/, so a second run downloads nothing.
# Writes BUILD_DIR/kernel/abi (for example 6.1.0-57-amd64) and
# BUILD_DIR/kernel/vidtv/ (the driver's sources).
set -euo pipefail
build=$(realpath "$1")
cache=$build/kernel
mkdir -p "$cache"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo

# The ABI name is the kernel image package that the meta package depends on;
# it changes with every kernel update of the distribution, so it is looked up.
abi_of_meta() {
  apt-cache depends linux-image-amd64 2>/dev/null |
    sed -n 's/^ *Depends: linux-image-\([0-9].*-amd64\)$/\1/p' | head -n 1
}
abi=$(abi_of_meta)
if [ -z "$abi" ]; then
  $sudo apt-get update >/dev/null
  abi=$(abi_of_meta)
fi
[ -n "$abi" ] || { echo "fetch: cannot tell which kernel linux-image-amd64 depends on" >&2; exit 1; }
version=$(apt-cache policy "linux-image-$abi" | sed -n "s/^ *Candidate: //p")
series=$(echo "$abi" | cut -d. -f1,2)  # 6.1.0-57-amd64 -> 6.1
echo "fetch: kernel $abi, package version $version"

image_deb=$(ls "$cache"/linux-image-"$abi"_"${version}"_*.deb 2>/dev/null | head -n 1 || true)
source_deb=$(ls "$cache"/linux-source-"$series"_"${version}"_*.deb 2>/dev/null | head -n 1 || true)
if [ -z "$image_deb" ] || [ -z "$source_deb" ]; then
  # apt-get download drops its rights to the _apt user; give it a folder it may
  # write, then move the packages into the cache.
  incoming=$(mktemp -d "$cache/incoming.XXXXXX")
  trap 'rm -rf "$incoming"' EXIT
  if id _apt >/dev/null 2>&1; then chown _apt "$incoming" 2>/dev/null || true; fi
  download() {
    (cd "$incoming" && apt-get download -q "linux-image-$abi=$version" "linux-source-$series=$version")
  }
  # Package lists older than the mirror name files it no longer has.
  download || { $sudo apt-get update >/dev/null && download; }
  # Packages of an earlier kernel are of no further use.
  rm -f "$cache"/linux-image-*.deb "$cache"/linux-source-*.deb
  mv "$incoming"/*.deb "$cache"/
  image_deb=$(ls "$cache"/linux-image-"$abi"_"${version}"_*.deb | head -n 1)
  source_deb=$(ls "$cache"/linux-source-"$series"_"${version}"_*.deb | head -n 1)
fi

if [ ! -d "/usr/src/linux-headers-$abi" ]; then
  echo "fetch: installing linux-headers-$abi"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "linux-headers-$abi" >/dev/null
fi

# The driver's sources, taken fresh whenever the source package changes.
stamp=$cache/vidtv.from
if [ ! -f "$cache/vidtv/Makefile" ] || [ "$(cat "$stamp" 2>/dev/null)" != "$(basename "$source_deb")" ]; then
  rm -rf "$cache/vidtv" "$cache/src"
  mkdir -p "$cache/src"
  dpkg-deb --fsys-tarfile "$source_deb" |
    tar -xO "./usr/src/linux-source-$series.tar.xz" |
    xz -dc -T2 |
    tar -x -C "$cache/src" --wildcards "linux-source-$series/drivers/media/test-drivers/vidtv/*"
  mv "$cache/src/linux-source-$series/drivers/media/test-drivers/vidtv" "$cache/vidtv"
  rm -rf "$cache/src"
  basename "$source_deb" > "$stamp"
fi

# The kernel image and its modules, unpacked once per image package.
stamp=$cache/image.from
if [ ! -d "$cache/image/boot" ] || [ "$(cat "$stamp" 2>/dev/null)" != "$(basename "$image_deb")" ]; then
  rm -rf "$cache/image"
  dpkg-deb -x "$image_deb" "$cache/image"
  basename "$image_deb" > "$stamp"
fi
echo "$abi" > "$cache/abi"
