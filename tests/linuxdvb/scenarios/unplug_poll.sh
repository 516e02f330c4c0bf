# The removal does not wait for the frontend's descriptor, which the library
# keeps until the device is stopped; the trace says why each call failed.
wait_line "control 1021: enabled=1 check=1 sel=-1 count=0 text=Lock" || exit 0
rmmod dvb_vidtv_bridge 2>&1
unplug
unplugged 2 && echo "the removal completed" || echo "the removal is still waiting"
echo "after the removal: $(host_fds '/dev/dvb/*') DVB descriptor(s), $(host_threads) thread(s)"
wait_line "log: StartDVBEx() failed !" || exit 0
echo "device switched: $(host_fds '/dev/dvb/*') DVB descriptor(s), $(host_threads) thread(s)"
wait_host_end || exit 0
grep -E '^(SetChannelExEx|StartDVBEx)\(.* = 0 ' "$WORK/trace.txt"
grep -E '^(Statistic|GetSignalExEx)\(.* = 0 ' "$WORK/trace.txt" | sort -u
