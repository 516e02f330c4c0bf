#!/usr/bin/env bash
# Host side of the capture parity scenario: for each channel the guest recorded
# with both the program (ours_CH.ts) and dvbv5-zap (peer_CH.ts), ffprobe must find
# the same programs and the same streams in both.
#   probe_captures.sh CAPTURE_DIR
# Exit status 1 when a pair differs, is missing, or holds no program.
set -uo pipefail
dir=$1
fail=0
# Programs with their streams' ids, types and codecs: what a player would offer.
probe() {
  timeout 60 ffprobe -v error -of compact=p=0 \
    -show_entries program=program_id,program_num:stream=index,id,codec_type,codec_name "$1"
}
found=0
for ours in "$dir"/ours_*.ts; do
  [ -e "$ours" ] || continue
  found=1
  ch=${ours##*/ours_}; ch=${ch%.ts}
  peer=$dir/peer_$ch.ts
  if [ ! -s "$peer" ]; then
    echo "FAIL ffprobe $ch: dvbv5-zap's recording is missing or empty"; fail=1; continue
  fi
  a=$(probe "$ours") b=$(probe "$peer")
  programs=$(grep -c '^program_id=' <<< "$a")
  streams=$(grep -c '^index=' <<< "$a")
  if [ "$programs" -eq 0 ]; then
    echo "FAIL ffprobe $ch: no program in the program's recording"; fail=1
  elif [ "$a" != "$b" ]; then
    echo "FAIL ffprobe $ch (- the program's recording, + dvbv5-zap's):"
    diff <(echo "$a") <(echo "$b") | sed 's/^/    /'
    fail=1
  else
    echo "ok   ffprobe $ch: the same $programs programs and $streams streams"
  fi
done
[ $found -eq 1 ] || { echo "FAIL ffprobe: the guest handed out no recordings"; fail=1; }
exit $fail
