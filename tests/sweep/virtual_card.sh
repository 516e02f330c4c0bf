#!/usr/bin/env bash
# virtual_card.sh BIN_DIR DATA_DIR: quorvex-sweep on the virtual card.
#   - its sky loaded from real tables of dtv-scan-tables (satellite,
#     terrestrial, cable): every transponder locks;
#   - the built-in sky: exactly the transponders it carries lock;
#   - the recording of each locked transponder's stream: exact error counts on
#     a stream damaged on purpose, a refused or undeletable filter as one note,
#     every filter handed out deleted;
#   - broken and missing files, bad options, the reports, the progress line,
#     and the reduced builds of the card (poorer tuning and signal entry points).
# Prints the sweep time per transponder of the largest table, with and
# without recording.
set -u
bin=$1 data=$2
tables=/usr/share/dvb
work=$(mktemp -d "${TMPDIR:-/tmp}/qv-sweep.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail=0
problem() { echo "FAIL: $*"; echo "$out" | sed 's/^/    /' | tail -n 25; fail=1; }

# sweep LIBDIR CONFIG_JSON ARGS...: runs the sweep, sets $out and $status.
sweep() {
  local dir=$1 config=$2
  shift 2
  if [ -n "$config" ]; then
    printf '%s\n' "$config" > "$work/config.json"
    export QUORVEX_SIM_CONFIG=$work/config.json
  else
    unset QUORVEX_SIM_CONFIG
  fi
  out=$(LD_LIBRARY_PATH=$dir timeout 120 "$bin/quorvex-sweep" "$@" 2>&1)
  status=$?
}
# expect STATUS "LAST LINE" WHAT: checks the exit status and the closing line.
expect() {
  if [ "$status" != "$1" ] || [ "$(echo "$out" | tail -n 1)" != "$2" ]; then
    problem "$3: exit $status and '$(echo "$out" | tail -n 1)', expected exit $1 and '$2'"
  else
    echo "$3: $2"
  fi
}
# The entries' lines that locked, in sweep order: "file:line" words.
locked() { echo "$out" | sed -n 's/^\([^ ]*\) .*: locked in [0-9]* ms.*/\1/p' | paste -sd' ' -; }
sky() { printf '{"sky": {"file": %s}%s}' "$1" "${2:-}"; }
devices='"devices": [{"id": 1, "name": "Quorvex S2 Virtual", "type": 2, "caps": "0x18FE"},
  {"id": 2, "name": "Quorvex T2 Virtual", "type": 7, "caps": "0x180E"},
  {"id": 3, "name": "Quorvex C Virtual", "type": 8, "caps": "0x180E"}]'

# ---- The sky from real tables: every transponder locks.
sweep "$bin" "$(sky "\"$tables/dvb-s/Astra-19.2E\"")" "$tables/dvb-s/Astra-19.2E" \
  --csv "$work/astra.csv" --junit "$work/astra.xml"
expect 0 "Locked: 1 of 1" "dvb-s/Astra-19.2E on its own sky"
[ "$(wc -l < "$work/astra.csv")" = 2 ] && grep -q '^/usr/share/dvb/dvb-s/Astra-19.2E,3,CHANNEL,DVBS2,11362000,0,22000000,2,2,,1,1,' "$work/astra.csv" ||
  problem "the CSV of dvb-s/Astra-19.2E: $(cat "$work/astra.csv")"
grep -q '<testsuite name="quorvex-sweep" tests="1" failures="0" errors="0" skipped="0">' "$work/astra.xml" ||
  problem "the JUnit report of dvb-s/Astra-19.2E: $(head -n 3 "$work/astra.xml")"

sweep "$bin" "$(sky "\"$tables/dvb-s/Hotbird-13.0E\"")" "$tables/dvb-s/Hotbird-13.0E"
expect 0 "Locked: 95 of 95" "dvb-s/Hotbird-13.0E on its own sky"
echo "    $(echo "$out" | grep '^Swept')"
sweep "$bin" "$(sky "\"$tables/dvb-s/Hotbird-13.0E\"")" "$tables/dvb-s/Hotbird-13.0E" --record 20
expect 0 "Locked: 95 of 95" "dvb-s/Hotbird-13.0E on its own sky, 20 ms of each stream recorded"
echo "$out" | grep -qx 'Recorded: 95 of 95 locked clean, 0 stream errors' || problem "a clean stream was not recorded clean"
echo "    $(echo "$out" | grep '^Swept')"

sweep "$bin" "$(sky "[\"$tables/dvb-t/uk-CrystalPalace\", \"$tables/dvb-c/de-Hessen-Unitymedia\"]" ", $devices")" \
  "$tables/dvb-t/uk-CrystalPalace"
expect 0 "Locked: 9 of 9" "dvb-t/uk-CrystalPalace on its own sky (the DVB-T2 device)"
sweep "$bin" "$(sky "[\"$tables/dvb-t/uk-CrystalPalace\", \"$tables/dvb-c/de-Hessen-Unitymedia\"]" ", $devices")" \
  "$tables/dvb-c/de-Hessen-Unitymedia"
expect 0 "Locked: 43 of 43" "dvb-c/de-Hessen-Unitymedia on its own sky (the DVB-C device)"
echo "$out" | grep -q '^Device 2: Quorvex C Virtual, DVB-C' || problem "the cable table did not pick the DVB-C device"

# ---- The built-in sky: exactly what it carries locks.
sweep "$bin" "" "$data/virtual-sky.conf" --lock-timeout 100
expect 1 "Locked: 9 of 11" "virtual-sky.conf on the built-in sky, satellite device"
want="virtual-sky.conf:5 virtual-sky.conf:14 virtual-sky.conf:23 virtual-sky.conf:32 virtual-sky.conf:41 virtual-sky.conf:50 virtual-sky.conf:59 virtual-sky.conf:68 virtual-sky.conf:77"
[ "$(locked)" = "$want" ] || problem "locked '$(locked)', expected '$want'"
echo "$out" | grep -qx 'Skipped: 9 entries (DVBT2: a DVB-S2 tuner does not receive it: 3; DVBT: a DVB-S2 tuner does not receive it: 6)' ||
  problem "the terrestrial entries were not counted as skipped"
sweep "$bin" "" "$data/virtual-sky.conf" --lock-timeout 100 --device 1
expect 1 "Locked: 7 of 9" "virtual-sky.conf on the built-in sky, terrestrial device"
want="virtual-sky.conf:103 virtual-sky.conf:111 virtual-sky.conf:119 virtual-sky.conf:127 virtual-sky.conf:135 virtual-sky.conf:143 virtual-sky.conf:151"
[ "$(locked)" = "$want" ] || problem "locked '$(locked)', expected '$want'"
sweep "$bin" "" "$data/dvbv5-services.conf" --lock-timeout 100
expect 1 "Locked: 3 of 4" "dvbv5-services.conf (dvbv5-scan's form) on the built-in sky"
echo "$out" | grep -q '^dvbv5-services.conf:46 12188 MHz H/L 27500 kS/s DVBS2 8PSK 3/4 stream 2: locked' ||
  problem "the multistream transponder did not lock"
sweep "$bin" "" "$tables/dvb-s/Astra-19.2E" --lock-timeout 100 --junit "$work/none.xml"
expect 1 "Locked: 0 of 1" "dvb-s/Astra-19.2E on the built-in sky"
grep -q 'failures="1"' "$work/none.xml" && grep -q 'no lock within 100 ms' "$work/none.xml" ||
  problem "the JUnit report does not fail the transponder: $(cat "$work/none.xml")"

# ---- Recording a stream damaged on purpose: each fault counted exactly. Three
# packets of PID 0x101 lost (3 continuity errors), two of PID 0 flagged (2 TEI),
# one of PID 0x102 cut short (a sync loss, and its counter jumps), and a burst
# of 50 lost packets of the multiplex (one PID's counter jumps once). The
# recording's measured time may exceed the asked one by the wake-up's delay.
damage='"stream": {"damage": {"drop": {"pid": "0x101", "every": 10, "count": 3},
  "tei": {"pid": 0, "every": 2, "count": 2}, "cut": {"pid": "0x102", "every": 5, "count": 1},
  "burst": {"packets": 50, "after_packet": 1000}}}'
sweep "$bin" "$(sky "\"$tables/dvb-s/Astra-19.2E\"" ", $damage")" "$tables/dvb-s/Astra-19.2E" \
  --record 1000 --csv "$work/damaged.csv" --junit "$work/damaged.xml"
expect 1 "Locked: 1 of 1" "a damaged stream recorded for a second"
want='stream 10[0-9][0-9] ms: 4[0-9]\.[0-9][0-9] Mbit/s, 8 errors (continuity 5, sync 1, TEI 2)$'
echo "$out" | grep -q "^Astra-19.2E:3 11362 MHz .*: locked in [0-9]* ms; .*; $want" ||
  problem "the damaged stream's line does not end in '$want'"
echo "$out" | grep -qx 'Recorded: 0 of 1 locked clean, 8 stream errors' || problem "no count of the damaged recording"
tail -n 1 "$work/damaged.csv" | grep -Eq ',1,1,[0-9]+,1,.*,4[0-9]{7},8,10[0-9][0-9],[0-9]+,5,1,2,$' ||
  problem "the CSV of the damaged stream: $(cat "$work/damaged.csv")"
grep -q 'failures="1"' "$work/damaged.xml" && grep -q '<failure message="locked in [0-9]* ms; stream 10[0-9][0-9] ms: .* 8 errors (continuity 5, sync 1, TEI 2)"/>' "$work/damaged.xml" ||
  problem "the JUnit report does not fail the damaged stream: $(cat "$work/damaged.xml")"
echo "    $(echo "$out" | grep -o 'stream 10[0-9][0-9] ms: .*')"

# ---- Filters refused and not deleted, on the built-in sky (9 transponders
# lock): the second SetFilter refused, the third and fourth DelFilter failing.
printf '{"fail": {"SetFilter": {"from": 2, "count": 1}, "DelFilter": {"from": 3, "count": 2}}}\n' > "$work/fail.json"
QUORVEX_SIM_TRACE=$work/fail.trace sweep "$bin" "$(cat "$work/fail.json")" "$data/virtual-sky.conf" \
  --lock-timeout 100 --record 50
unset QUORVEX_SIM_TRACE
expect 1 "Locked: 9 of 11" "filters refused and not deleted"
notes=$(echo "$out" | grep ': locked in' | sed 's/.*; stream [0-9]* ms: [^(]*(continuity 0, sync 0, TEI 0)/clean/; s/.*; not recorded: /refused: /' | paste -sd'|' -)
want='clean|refused: SetFilter() failed !|clean|clean (DelFilter() failed !)|refused: DelFilter() failed ! for the filter of an earlier recording|clean|clean|clean|clean'
[ "$notes" = "$want" ] || problem "the recordings' ends '$notes', expected '$want'"
echo "$out" | grep -qx 'Recorded: 6 of 9 locked clean, 0 stream errors' || problem "no count of the failed recordings"
# Every filter handed out is deleted in the end, the one left over first.
handed=$(sed -n 's/^SetFilter(8192, cb, 2, 1, &) = 1 \[filter=\([0-9]*\)\]$/\1/p' "$work/fail.trace" | sort -n | paste -sd' ')
deleted=$(sed -n 's/^DelFilter(\([0-9]*\)) = 1$/\1/p' "$work/fail.trace" | sort -n | paste -sd' ')
[ -n "$handed" ] && [ "$handed" = "$deleted" ] || problem "filters handed out '$handed', deleted '$deleted'"
echo "filters: a refusal and failed deletions are one note each; every filter handed out deleted"

# ---- Files and options.
printf '[A]\n\tDELIVERY_SYSTEM = DVBS2\n\tFREQUENCY = 10722000\n\tPOLARIZATION = HORIZONTAL\n\tSYMBOL_RATE = 27500000\n\tMODULATION = PSK/9\n\n[B]\n\tDELIVERY_SYSTEM = DVBS\n\tFREQUENCY = 10744000\n\tPOLARIZATION = VERTICAL\n\tSYMBOL_RATE = 22000\n' > "$work/broken.conf"
sweep "$bin" "" "$work/broken.conf" "$data/dvbv5-services.conf" --lock-timeout 100
expect 1 "Locked: 3 of 4" "a broken file beside a good one"
for e in "error: $work/broken.conf:6: MODULATION: PSK/9 is not a modulation of the channel-file format" \
         "error: $work/broken.conf:12: SYMBOL_RATE: 22000 is below any carrier's symbol rate (the format gives symbols per second)" \
         "Errors: 2"; do
  echo "$out" | grep -qxF "$e" || problem "no line '$e'"
done
for args in "" "$work/missing.conf" "--record 0 $data/dvbv5-services.conf" "--record 600001 $data/dvbv5-services.conf" "--lock-timeout x $data/dvbv5-services.conf" "--device 5 $data/dvbv5-services.conf"; do
  # shellcheck disable=SC2086
  sweep "$bin" "" $args
  [ "$status" = 2 ] && echo "$out" | grep -q '^quorvex-sweep: ' || problem "'$args': exit $status, expected 2 with the reason"
done
echo "refused with exit 2: no file, a missing file, a recording of 0 ms or over 10 minutes, a bad number, a device not there"

# ---- The progress line, on a terminal only.
if command -v script >/dev/null; then
  shown=$(LD_LIBRARY_PATH=$bin timeout 60 script -qec "$bin/quorvex-sweep $data/dvbv5-services.conf --lock-timeout 100" /dev/null | tr '\r' '\n')
  echo "$shown" | grep -q '^\[4/4\] 11362 MHz H/L 22000 kS/s DVBS2 8PSK 2/3 \.\.\.' ||
    { out=$shown; problem "no progress line on a terminal"; }
  sweep "$bin" "" "$data/dvbv5-services.conf" --lock-timeout 100
  case $out in *$'\r'*) problem "a progress line in a pipe" ;; esac
  echo "progress line: on a terminal, not in a pipe"
fi

# ---- Reduced builds: the tuning and signal entry points the dialog would use.
for v in legacy:1 exonly:1 getsignal:1 strength:1 nocaps:1 critical:0; do
  sweep "$bin/${v%:*}" "$(sky "\"$tables/dvb-s/Astra-19.2E\"")" "$tables/dvb-s/Astra-19.2E" --device 0
  expect $((1 - ${v#*:})) "Locked: ${v#*:} of 1" "the ${v%:*} build"
done
echo "$out" | grep -q ': no lock flag reported$' || problem "the critical build reads a lock flag it has no entry point for"

exit $fail
