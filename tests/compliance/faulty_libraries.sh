#!/usr/bin/env bash
# faulty_libraries.sh TOOL LIBDIR: the compliance checker against a library
# that keeps the contract (every check passes) and against one build per
# defect: each fails exactly the check that names it, and nothing else.
set -u
tool=$1 libdir=$2
fail=0
expect() {  # expect DEFECT "CHECK NAME" (empty: nothing fails)
  local out status
  out=$(timeout 60 "$tool" --timeout 2000 "$libdir/$1/libquorvex.so" 2>&1)
  status=$?
  local failed
  failed=$(echo "$out" | sed -n 's/^\ttest \(.*\): FAIL .*/\1/p')
  if [ "$failed" != "$2" ] || { [ -z "$2" ] && [ $status -ne 0 ]; } ||
     { [ -n "$2" ] && [ $status -ne 1 ]; }; then
    echo "$1: failed checks '${failed//$'\n'/, }' (exit $status), expected '${2:-none}'"
    echo "$out" | sed 's/^/    /'
    fail=1
  else
    echo "$1: ${2:-every check passes} ($(echo "$out" | tail -n 1))"
  fi
}
expect sound ""
expect late_callback "no stream delivery after DelFilter returned"
expect late_enumeration "devices reported during the call"
expect reply_count "SendDiseqCmdEx reply"
expect signal_unwritten "GetSignalExEx"
expect not_ts "whole transport stream packets"
expect start_hangs "StartDVBEx returns"
expect lost_packets "continuity counters"
exit $fail
