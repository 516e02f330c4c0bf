# For each channel: the properties our library sent (its FE_SET_PROPERTY calls in
# order, one per tune), every frontend ioctl dvbv5-zap made, and whether each locked.
# Differences that are right on purpose:
# - The library starts with CLEAR: nothing of an earlier tune (a stream id, a pilot)
#   stays in the driver's cache; dvbv5-zap sends its whole set instead, and names the
#   delivery system in a call of its own when it changes.
# - DVB-S: the library sets the LNB supply and tone as VOLTAGE and TONE in its one
#   property call, before the frequency; dvbv5-zap calls FE_SET_VOLTAGE and
#   FE_SET_TONE first (tone off for its DiSEqC step, which it skips, then the band's).
#   The kernel carries both out through the same driver calls in the same order.
# - DVB-S: the library names the modulation (QPSK, DVB-S's only one, which drivers
#   expect to be told); dvbv5-zap leaves the channel file's MODULATION out for DVB-S.
# - The properties come in another order: each is stored until TUNE, so only the
#   supply and tone before the frequency matter.
# - dvbv5-zap switches the LNB supply off when it ends, and on terrestrial and cable
#   tunes; the library leaves the supply to the satellite device, which keeps it while
#   it is started (the kernel powers the LNB down when the frontend is closed).
wait_host_end || exit 0
# The NAME=VALUE words of a call list, the LNB ioctls written as the properties they
# stand for, one a line and sorted, for what only one side sends.
words() {
  sed 's/^FE_SET_PROPERTY //; s/^FE_SET_VOLTAGE /VOLTAGE=/; s/^FE_SET_TONE /TONE=/' |
    tr ' ' '\n' | grep = | grep -v '^TUNE=' | sort -u
}
# One call per tune: a DVB-T2 retune of the search (a poll late under emulation on
# the empty DVB-T channel) is not one of them.
ours=$(grep '^FE_SET_PROPERTY' "$WORK/ioctl.txt" | grep -v 'DELIVERY_SYSTEM=DVBT2 ' |
  sed 's/^FE_SET_PROPERTY //')
locks=$(sed -n 's/^control 1021: .* check=\([01]\) .*/\1/p' "$OUT")
i=0
for ch in S11362 S12212 S11363 T474 T478 C474 C478; do
  i=$((i + 1))
  peer "zap_$ch" /qv/bin/dvbv5-zap -c /qv/scenarios/peers.channels -l UNIVERSAL -t 2 "$ch"
  echo "$ch ours: $(echo "$ours" | sed -n "${i}p")"
  echo "$ch dvbv5-zap: $(paste -sd'|' "$WORK/zap_$ch.ioctl" | sed 's/FE_SET_PROPERTY //g; s/|/ | /g')"
  echo "$ours" | sed -n "${i}p" | words > "$WORK/ours.words"
  words < "$WORK/zap_$ch.ioctl" > "$WORK/peer.words"
  only_ours=$(grep -vxFf "$WORK/peer.words" "$WORK/ours.words" | paste -sd' ')
  only_peer=$(grep -vxFf "$WORK/ours.words" "$WORK/peer.words" | paste -sd' ')
  echo "$ch only ours: ${only_ours:-none}; only dvbv5-zap: ${only_peer:-none}"
  our_lock=$(echo "$locks" | sed -n "${i}p")
  grep -q 'Lock' "$WORK/zap_$ch.out" && peer_lock=1 || peer_lock=0
  echo "$ch lock: ours $our_lock, dvbv5-zap $peer_lock"
done
