#!/usr/bin/env bash
# gui_smoke.sh EXE PROBE SCENARIO_DIR RUNNER...: QuorvexDemo.exe in a real
# window under Wine, in a private virtual X server. The window must open on
# the virtual card with the start-up lines a user sees (the same lines as the
# headless start-up transcript), open the signal history from its system menu
# with a painted chart, and close through the close sequence when its close
# button is clicked: the card is stopped last.
set -u
exe=$1 probe=$2 scenarios=$3
shift 3
runner=("$@")
if ! command -v Xvfb >/dev/null; then
  echo "gui_smoke: Xvfb is not installed (run scripts/setup)"; exit 1
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/qv-win32-gui.XXXXXX")
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "gui_smoke: the virtual X server did not start"; exit 1; }
export DISPLAY=:$(cat "$work/display")

# The program runs from its own folder with the virtual card beside it.
mkdir "$work/app"
cp "$exe" "$(dirname "$exe")/quorvex.dll" "$work/app/"
export QUORVEX_SIM_TRACE=$work/trace.txt
unset QUORVEX_SIM_CONFIG
# QV_SMOKE_HOSTILE=1: a virtual card that reports devices from a thread of
# its own long after the enumeration call returned, under names no card has:
# the window keeps the devices of the call, whole, and lives on.
if [ -n "${QV_SMOKE_HOSTILE:-}" ]; then
  long=$(head -c 65536 /dev/zero | tr '\0' N)
  printf '%s' '{"late": {"enumeration": 40, "interval_ms": 25}, "devices": [' \
    "{\"id\": 1, \"type\": 2, \"caps\": \"0x18FE\", \"name\": \"$long\"}," \
    '{"id": 2, "type": 7, "name": "Tuner\n\tTwo\u0001"},' \
    '{"id": 3, "type": 8, "name_hex": "54756E657220E9FF80"}]}' > "$work/hostile.json"
  export QUORVEX_SIM_CONFIG=$work/hostile.json
fi
"${runner[@]}" "$work/app/$(basename "$exe")" &
app_pid=$!
timeout 90 "${runner[@]}" "$probe" "Quorvex Demo" 60000 "${QV_GUI_SHOT:-}" > "$work/probe.txt"
probe_status=$?
for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
fail=0
if kill -0 "$app_pid" 2>/dev/null; then
  echo "the program did not end after its window closed"; fail=1
else
  app_pid=""
fi
tr -d '\r' < "$work/probe.txt" > "$work/probe.lf"
cat "$work/probe.lf"
[ "$probe_status" -eq 0 ] || { echo "probe status $probe_status"; fail=1; }
grep -q '^window: visible=1 ' "$work/probe.lf" || { echo "no visible window"; fail=1; }
# The client area is the template's 262 x 419 dialog units in its font.
size=$(sed -n 's/^window: visible=1 client=\([0-9x]*\) want=\([0-9x]*\)$/\1 \2/p' "$work/probe.lf")
if [ -z "$size" ] || [ "${size% *}" != "${size#* }" ]; then
  echo "client area and 262 x 419 dialog units differ: ${size:-no size}"; fail=1
fi
cat "$scenarios/init_full.lines" "$scenarios/start_s2.lines" > "$work/expected"
if ! diff -u "$work/expected" <(grep '^log: ' "$work/probe.lf"); then
  echo "the message list differs from the start-up lines"; fail=1
fi
if [ -n "${QV_SMOKE_HOSTILE:-}" ]; then
  # The control characters show as their pictures (UTF-8 E2 90 8A, 89, 81),
  # the Windows-1252 bytes E9 FF 80 as the letters they stand for.
  printf '%s\n' 'devices: 3' 'device: 65545 characters: NNNNNNNN...NNNNNNN - DVB-S2' \
    $'device: Tuner\xE2\x90\x8A\xE2\x90\x89Two\xE2\x90\x81 - DVB-T2' \
    $'device: Tuner \xC3\xA9\xC3\xBF\xE2\x82\xAC - DVB-C' > "$work/devices"
  if ! diff -u "$work/devices" <(grep '^device' "$work/probe.lf"); then
    echo "the device list is not what the enumeration call reported"; fail=1
  fi
  [ "$(grep -c '^  -> late DeviceEnum(' "$work/trace.txt")" -gt 0 ] ||
    { echo "the card made no late report"; fail=1; }
fi
# The signal history opens from the system menu, paints its chart and closes.
grep -qE '^chart: window=1 width=[1-9][0-9]* corner=ffffff$' "$work/probe.lf" &&
  grep -qx 'chart: closed=1' "$work/probe.lf" || { echo "the signal history did not work"; fail=1; }
if [ "$(tail -n 1 "$work/trace.txt" 2>/dev/null)" != "StopDVB() = 1" ]; then
  echo "the close sequence did not stop the card last:"; tail -n 3 "$work/trace.txt"; fail=1
fi
exit $fail
