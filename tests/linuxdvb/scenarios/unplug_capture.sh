# What the kernel does with a capture whose card goes away, and what is left
# in the host: the recording up to the removal is a sound stream whose length
# is the shown total, and the trace says why each call failed.
capture_fds() { host_fds '/dev/dvb/adapter*/demux*' '/dev/dvb/adapter*/dvr*'; }
recorded() { stat -c %s "$WORK/whole.ts"; }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$HOST_PID/stat"; }
wait_line "log: SetFilter() success." || exit 0
sleep 0.5
rmmod dvb_vidtv_bridge 2>&1
before=$(recorded)
sleep 0.5
[ "$(recorded)" -gt "$before" ] && echo "the capture goes on after the refused unload"
unplug
unplugged 2 && echo "the removal completed with the capture on" || echo "the removal is still waiting"
echo "after the removal: $(capture_fds) demux or dvr descriptor(s), $(host_threads) thread(s)"
before=$(recorded)
ticks=$(cpu_ticks)
sleep 1
[ "$(recorded)" -eq "$before" ] && echo "no data after the removal" || echo "data after the removal"
# A reader that spins takes about the whole second (100 ticks).
ticks=$(($(cpu_ticks) - ticks))
[ "$ticks" -lt 30 ] && echo "the host idles" || echo "the host used $ticks ticks in a second"
wait_line "log: StartDVBEx() failed !" || exit 0
echo "device switched: $(host_fds '/dev/dvb/*') DVB descriptor(s), $(host_threads) thread(s)"
wait_host_end || exit 0
/qv/bin/qv_ts_check --live-pcr "$WORK/whole.ts" > /dev/null
echo "whole.ts: stream check status $?"
shown=$(sed -n 's/^control 1055: .* text=Total: \([0-9]*\) Kb$/\1/p' "$OUT" | tail -n 1)
[ "$shown" = $(($(recorded) / 1024)) ] && echo "whole.ts: shown total is the file's length" ||
  echo "whole.ts: shown $shown Kb, file $(recorded) bytes"
grep -E '^(SetFilter|DelFilter|StartDVBEx)\(' "$WORK/trace.txt"
grep -E '^(Statistic|GetSignalExEx)\(.* = 0 ' "$WORK/trace.txt" | sort -u
