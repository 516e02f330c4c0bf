#!/usr/bin/env bash
# pipe_script.sh BIN_DIR: quorvexdemo-headless with its script on a pipe whose
# writer stays open acts on each line as it arrives: the answer to a line is
# in the transcript before the next line is written, and `close` ends the run
# while the pipe is still open. Every wait is bounded.
set -u
bin=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/qv-pipe.XXXXXX")
pid=""
cleanup() {
  exec 3>&- 2>/dev/null
  [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
mkfifo "$work/script"
unset QUORVEX_SIM_CONFIG QUORVEX_SIM_TRACE
LD_LIBRARY_PATH=$bin "$bin/quorvexdemo-headless" < "$work/script" > "$work/out" 2>&1 &
pid=$!
exec 3> "$work/script"

# Waits up to 10 s for a transcript line that starts with $1.
await() {
  for _ in $(seq 100); do
    grep -q "^$1" "$work/out" && return 0
    sleep 0.1
  done
  echo "no line '$1' within 10 s; the transcript:"; cat "$work/out"; return 1
}

printf 'show 1047\n' >&3
await 'control 1047: ' || exit 1
printf 'select 1047 1\r\nitem 1047 1\r\n' >&3
await 'item 1047\[1\]: ' || exit 1
printf 'close\n' >&3
await 'ended: cancel' || exit 1
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then echo "still running after close"; exit 1; fi
wait "$pid"; status=$?
pid=""
[ "$status" -eq 0 ] || { echo "exit status $status"; cat "$work/out"; exit 1; }
echo "acted on each line as it arrived"
