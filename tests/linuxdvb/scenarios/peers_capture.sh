# dvbv5-zap records the same three seconds of each channel; every recording must
# be a sound transport stream with no packet lost (qv_ts_check: sync bytes and
# continuity counters). The files go to /tmp/captures, which the guest writes to
# its disk for ffprobe on the host (probe_captures.sh compares the two of each).
wait_host_end || exit 0
mkdir -p /tmp/captures
for ch in S11362 T474 C474; do
  peer "rec_$ch" /qv/bin/dvbv5-zap -c /qv/scenarios/peers.channels -l UNIVERSAL -P -t 3 \
    -o "$WORK/peer_$ch.ts" "$ch"
  for who in ours peer; do
    f=$WORK/${who}_$ch.ts
    /qv/bin/qv_ts_check --live-pcr "$f" > "$WORK/check.txt"
    echo "${who}_$ch.ts: stream check status $?"
    packets=$(sed -n 's/^packets=\([0-9]*\) .*/\1/p' "$WORK/check.txt")
    # Three seconds of a 4096 KB/s multiplex under emulation: well above 3000 packets.
    [ "${packets:-0}" -ge 3000 ] && echo "${who}_$ch.ts: 3000 packets or more" ||
      echo "${who}_$ch.ts: $packets packets"
    mv "$f" /tmp/captures/
  done
done
