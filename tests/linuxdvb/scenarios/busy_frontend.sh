# Nothing of the failed starts stays open in the host; the library's trace
# says why they failed.
wait_line "log: StartDVBEx() failed !" 2 || exit 0
echo "start failed: $(host_fds '/dev/dvb/*') DVB descriptor(s), $(host_threads) thread(s)"
exec 3>&-
echo "frontend let go"
wait_host_end || exit 0
grep '^StartDVBEx(' "$WORK/trace.txt"
