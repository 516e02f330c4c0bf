# The failed reply read, as the library's trace shows it.
wait_host_end || exit 0
grep '^SendDiseqCmdEx' "$WORK/trace.txt"
