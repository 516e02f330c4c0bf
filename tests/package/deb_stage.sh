#!/usr/bin/env bash
# deb_stage.sh BUILD: the Debian package of BUILD (configured for /usr): made
# by CPack, checked by lintian (no errors), installed with apt, its programs
# run with no environment at all, and removed again with nothing left behind.
# `cmake --install` into a DESTDIR is checked the same way first.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD build=$1
sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
work=$(mktemp -d "${TMPDIR:-/tmp}/qv-package.XXXXXX")
trap 'rm -rf "$work"' EXIT

# tour BIN_DIR: the installed script host runs the tour on the virtual card it
# finds beside itself; the transcript starts as the program's start-up does
# and ends with the dialog.
tour() {
  mkdir -p "$work/run/build"
  (cd "$work/run" && env -i timeout 60 "$1/quorvexdemo-headless" "$root/scripts/tour.qvs") \
    > "$work/tour.txt" || { echo "$1/quorvexdemo-headless: exit status $?"; tail -n 5 "$work/tour.txt"; return 1; }
  cat tests/scenarios/init_full.lines tests/scenarios/start_s2.lines > "$work/start.txt"
  if ! diff -u "$work/start.txt" <(head -n "$(wc -l < "$work/start.txt")" "$work/tour.txt"); then
    echo "$1/quorvexdemo-headless: the tour did not start on the virtual card"; return 1
  fi
  grep -qx 'ended: cancel' "$work/tour.txt" ||
    { echo "$1/quorvexdemo-headless: the tour did not end"; tail -n 5 "$work/tour.txt"; return 1; }
  echo "$1/quorvexdemo-headless: tour of $(wc -l < "$work/tour.txt") lines on the virtual card"
}

DESTDIR=$work/dest cmake --install "$build" >/dev/null
tour "$work/dest/usr/bin"

rm -f "$build"/quorvexdemo_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/quorvexdemo_*.deb)
echo "package: $deb ($(du -k "$deb" | cut -f1) KiB)"
lintian --fail-on error "$deb"
recommends=$(dpkg-deb -f "$deb" Recommends)
[ "$recommends" = dtv-scan-tables ] ||
  { echo "the package recommends '$recommends', expected dtv-scan-tables (the sweep's tables)"; exit 1; }

DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "$(realpath "$deb")" >/dev/null
installed=$(dpkg -L quorvexdemo)
tour /usr/bin
# The installed checker finds the virtual card beside the programs too.
env -i timeout 120 /usr/bin/quorvex-compliance --device 0 --freq 10722 > "$work/compliance.txt" ||
  { echo "the installed quorvex-compliance failed:"; grep -E 'FAIL|^Total' "$work/compliance.txt"; exit 1; }
echo "/usr/bin/quorvex-compliance: $(tail -n 1 "$work/compliance.txt")"
# The installed sweep reads a table of the recommended package, on a sky of the
# virtual card loaded from it, and records each transponder's stream.
table=/usr/share/dvb/dvb-s/Astra-19.2E
if [ -f "$table" ]; then
  printf '{"sky": {"file": "%s"}}\n' "$table" > "$work/sky.json"
  env -i QUORVEX_SIM_CONFIG="$work/sky.json" timeout 120 /usr/bin/quorvex-sweep --record 500 "$table" \
    > "$work/sweep.txt" || { echo "the installed quorvex-sweep failed:"; tail -n 5 "$work/sweep.txt"; exit 1; }
  echo "/usr/bin/quorvex-sweep: $(tail -n 2 "$work/sweep.txt" | paste -sd' ')"
fi
for f in /usr/bin/quorvexdemo /usr/bin/quorvexdemo-linuxdvb /usr/share/applications/quorvexdemo.desktop \
         /usr/share/man/man1/quorvexdemo-headless.1.gz; do
  [ -e "$f" ] || { echo "the package did not install $f"; exit 1; }
done
DEBIAN_FRONTEND=noninteractive $sudo apt-get remove -y quorvexdemo >/dev/null
left=$(echo "$installed" | while read -r f; do [ -f "$f" ] && echo "$f"; done || true)
if [ -n "$left" ] || dpkg -s quorvexdemo >/dev/null 2>&1; then
  echo "removing the package left:"; echo "$left"; exit 1
fi
echo "package: installed, ran and removed cleanly"
