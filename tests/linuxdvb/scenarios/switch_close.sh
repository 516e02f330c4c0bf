# The same look at the host before the switch shows that the look sees
# descriptors and threads when they are there.
capture_fds() { host_fds '/dev/dvb/adapter*/demux*' '/dev/dvb/adapter*/dvr*'; }
rc_fds() { host_fds '/dev/lirc*' '/dev/input/*'; }
wait_line "log: SetFilter() success." || exit 0
[ "$(capture_fds)" -ge 1 ] && echo "capturing: demux descriptor open"
[ "$(rc_fds)" -ge 1 ] && echo "capturing: lirc descriptor open"
[ "$(host_threads)" -ge 3 ] && echo "capturing: library threads running"
# The last line that the start of the new device logs.
wait_line "log: SetRemoteControl() used. RC supported." 2 || exit 0
echo "after the switch: $(host_threads) thread(s)"
echo "after the switch: $(capture_fds) demux or dvr descriptor(s)"
echo "after the switch: $(rc_fds) lirc or input descriptor(s)"
