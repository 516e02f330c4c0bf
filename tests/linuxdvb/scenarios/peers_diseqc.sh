# The LNB supply, tone, DiSEqC and tune calls of the library and of szap, one per
# line. Differences that are right on purpose:
# - The library sets the supply before it switches the tone off (the supply must
#   be there before the bus settles); szap switches the tone off first.
# - The program sends the committed command and the burst as two calls, so the
#   library frames each with its own tone-off and wait; szap sends them in one
#   sequence.
# - Before the first tune the band's tone is set after the transfer only when the
#   command selects the high band; szap sets the tone for the band after the burst.
# - The library tunes with properties (VOLTAGE, TONE, FREQUENCY in one call); szap
#   uses the older FE_SET_FRONTEND after its own FE_SET_VOLTAGE and FE_SET_TONE.
# - On the tuned device each transfer is followed by the last tune again: the
#   kernel's frontend stops tuning at a bus command.
wait_host_end || exit 0
brief() {  # the properties a tune sets for the LNB, the rest as traced
  sed -e '/^FE_SET_PROPERTY/s/.*\(VOLTAGE=[^ ]*\) \(TONE=[^ ]*\) \(FREQUENCY=[^ ]*\).*/FE_SET_PROPERTY \1 \2 \3/' "$1"
}
brief "$WORK/ioctl.txt" | sed 's/^/ours: /'
echo "S11362:11362:h:0:27500:0:0:1" > "$WORK/szap.conf"
peer szap /qv/bin/szap -c "$WORK/szap.conf" -x -n 1
brief "$WORK/szap.ioctl" | sed 's/^/szap: /'
grep -q 'FE_HAS_LOCK' "$WORK/szap.out" && echo "szap: locked" || echo "szap: no lock"
