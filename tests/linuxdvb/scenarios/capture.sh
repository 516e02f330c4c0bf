# Checks the two recordings: a sound stream with its tables, the shown total
# equal to what reached the file, and PID 0 alone in the second one.
wait_host_end || exit 0
ts_facts() {  # FILE [PID]: qv_ts_check's verdict, its output kept for a failure
  report=$(/qv/bin/qv_ts_check --live-pcr "$@")
  ts_status=$?
  packets=$(echo "$report" | sed -n 's/^packets=\([0-9]*\) .*/\1/p')
  pids=$(echo "$report" | sed -n 's/.* pids=\([0-9]*\) .*/\1/p')
  sections=$(echo "$report" | sed -n 's/.* sections=\([0-9]*\) .*/\1/p')
  echo "$(basename "$1"): stream check status $ts_status"
  [ "$ts_status" -eq 0 ] || echo "$report"
}

ts_facts "$WORK/whole.ts"
# A second of a 4096 KB/s multiplex under emulation (about 12000 packets on
# these machines): a thousand at least, of tables, programs and padding.
[ "${packets:-0}" -ge 1000 ] && echo "whole.ts: 1000 packets or more" || echo "whole.ts: $packets packets"
[ "${pids:-0}" -ge 4 ] && echo "whole.ts: 4 PIDs or more" || echo "whole.ts: $pids PIDs"
[ "${sections:-0}" -ge 2 ] && echo "whole.ts: tables with a right CRC" || echo "whole.ts: $sections sections"
shown=$(sed -n 's/^control 1055: .* text=Total: \([0-9]*\) Kb$/\1/p' "$OUT" | tail -n 1)
size=$(stat -c %s "$WORK/whole.ts")
[ "$shown" = $((size / 1024)) ] && echo "whole.ts: shown total is the file's length" ||
  echo "whole.ts: shown $shown Kb, file $size bytes"

ts_facts "$WORK/pat.ts" 0
[ "${pids:-0}" -eq 1 ] && echo "pat.ts: PID 0 only" || echo "pat.ts: $pids PIDs"
[ "${sections:-0}" -ge 2 ] && echo "pat.ts: PATs with a right CRC" || echo "pat.ts: $sections sections"
