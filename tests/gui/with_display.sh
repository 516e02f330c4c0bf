#!/usr/bin/env bash
# with_display.sh COMMAND...: runs COMMAND in a private virtual X server with a
# small window manager, both started here and ended when COMMAND ends (or this
# script is stopped). Exits with COMMAND's status.
set -uo pipefail

for tool in Xvfb openbox; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "with_display: $tool is not installed (run scripts/setup)" >&2
    exit 1
  fi
done

work=$(mktemp -d)
xvfb_pid=""
wm_pid=""
cleanup() {
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null && wait "$wm_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 143' TERM INT

# The server picks a free display number and writes it to the pipe.
mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp -noreset 3>"$work/display" \
  >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
number=""
if ! read -r -t 20 number <"$work/display" || [ -z "$number" ]; then
  echo "with_display: the virtual X server did not start" >&2
  cat "$work/xvfb.log" >&2
  exit 1
fi
export DISPLAY=":$number"
unset WAYLAND_DISPLAY

# A window manager gives the windows frames and focus, as on a desktop.
openbox --sm-disable >"$work/wm.log" 2>&1 &
wm_pid=$!
for _ in $(seq 100); do
  # openbox owns the WM selection once it runs; give it a moment.
  if [ -n "$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -o 'window id')" ]; then break; fi
  command -v xprop >/dev/null 2>&1 || { sleep 0.5; break; }
  sleep 0.05
done

"$@"
