# Shell functions of the guest: running one scenario (init), and the helpers
# that a scenario's companion script NAME.sh uses while the host runs.
# A companion gets WORK (the scenario's folder), OUT (the transcript, flushed
# line by line), HOST_PID and LIRC_DEV; what it prints follows the transcript.

SCENARIO_LIMIT=40  # seconds a host may run before it is killed
COMPANION_GRACE=30 # seconds a companion may go on after its host ended (the peers run then)

now() { cut -d. -f1 /proc/uptime; }

# A process that ended but was not waited for yet still has a /proc entry.
alive() {
  state=$(cut -d' ' -f3 "/proc/$1/stat" 2>/dev/null) && [ "$state" != Z ]
}

# wait_line TEXT [COUNT] [SECONDS]: until TEXT is a whole transcript line
# COUNT times (1); says so and fails when SECONDS (20) pass first.
wait_line() {
  _count=${2:-1}
  _limit=$(($(now) + ${3:-20}))
  while [ "$(grep -cxF -- "$1" "$OUT")" -lt "$_count" ]; do
    if [ "$(now)" -ge "$_limit" ]; then
      echo "timed out waiting for: $1 ($_count)"
      return 1
    fi
    sleep 0.05
  done
}

# wait_host_end [SECONDS]: until the host process is gone (30 s at most).
wait_host_end() {
  _limit=$(($(now) + ${1:-30}))
  while alive "$HOST_PID"; do
    if [ "$(now)" -ge "$_limit" ]; then
      echo "timed out waiting for the host to end"
      return 1
    fi
    sleep 0.05
  done
}

# peer NAME TOOL ARGS...: runs a Linux DVB tool (at most 12 s) with the ioctl tracer,
# its frontend ioctls in $WORK/NAME.ioctl and its output in $WORK/NAME.out.
peer() {
  _name=$1
  shift
  rm -f "$WORK/$_name.ioctl"
  LD_PRELOAD=/qv/lib/libqv_ioctl_trace.so QV_IOCTL_TRACE="$WORK/$_name.ioctl" \
    timeout -s INT 12 "$@" > "$WORK/$_name.out" 2>&1 < /dev/null
}

host_threads() { ls "/proc/$HOST_PID/task" | wc -l; }

# The virtual adapter is a platform device; its driver lets go of it as a
# card's driver does when the card is unplugged.
VIDTV_DEVICE=vidtv.0
VIDTV_DRIVER=/sys/bus/platform/drivers/vidtv

# unplug: the driver lets go of the adapter (its remove: frontend, demux and
# dvr unregistered), in the background, for the dvb core's removal waits until
# every demux and dvr descriptor is closed; UNPLUG_PID is the removal.
unplug() {
  echo "$VIDTV_DEVICE" > "$VIDTV_DRIVER/unbind" &
  UNPLUG_PID=$!
}

# unplugged [SECONDS]: until the removal has finished (5 s at most).
unplugged() {
  _limit=$(($(now) + ${1:-5}))
  while alive "$UNPLUG_PID"; do
    [ "$(now)" -ge "$_limit" ] && return 1
    sleep 0.05
  done
}

# replug: the adapter bound again (it may still be on its way out), until its
# frontend is there (10 s at most).
replug() {
  [ -e "$VIDTV_DRIVER/$VIDTV_DEVICE" ] || echo "$VIDTV_DEVICE" > "$VIDTV_DRIVER/bind" || return 1
  _limit=$(($(now) + 10))
  until [ -c /dev/dvb/adapter0/frontend0 ]; do
    [ "$(now)" -ge "$_limit" ] && return 1
    sleep 0.05
  done
}

# host_fds GLOB...: how many of the host's descriptors are open on a path
# matching one of the globs.
host_fds() {
  _n=0
  for _fd in /proc/"$HOST_PID"/fd/*; do
    _target=$(readlink "$_fd") || continue
    for _glob in "$@"; do
      # shellcheck disable=SC2254  # the pattern is meant to match
      case $_target in $_glob) _n=$((_n + 1)); break ;; esac
    done
  done
  echo $_n
}

# run_scenario NAME: the host on /qv/scenarios/NAME.script (or the compliance
# checker with the options in NAME.compliance, or the sweep with those in
# NAME.sweep) in /tmp/run/NAME,
# with its companion if there is one, both bounded in time; then the section
# of the console: transcript, exit status, anything on standard error, the
# companion's lines.
run_scenario() {
  name=$1
  WORK=/tmp/run/$name
  OUT=$WORK/transcript.txt
  mkdir -p "$WORK"
  # The library's call trace, for the companions that look at it.
  QUORVEX_DVB_TRACE=$WORK/trace.txt
  export WORK OUT QUORVEX_DVB_TRACE
  # Every frontend ioctl the host makes, for the comparison with the Linux DVB tools.
  host_trace="LD_PRELOAD=/qv/lib/libqv_ioctl_trace.so QV_IOCTL_TRACE=$WORK/ioctl.txt"
  cd "$WORK" || return
  if [ -f "/qv/scenarios/$name.compliance" ]; then
    # NAME.compliance holds the compliance checker's options instead.
    # shellcheck disable=SC2046  # the options are meant to split
    /qv/bin/quorvex-compliance $(cat "/qv/scenarios/$name.compliance") /qv/lib/libquorvex.so \
      > "$OUT" 2> "$WORK/stderr.txt" &
  elif [ -f "/qv/scenarios/$name.sweep" ]; then
    # NAME.sweep holds quorvex-sweep's options and channel files.
    # shellcheck disable=SC2046  # the options are meant to split
    env LD_LIBRARY_PATH=/qv/lib /qv/bin/quorvex-sweep $(grep -v '^#' "/qv/scenarios/$name.sweep") \
      > "$OUT" 2> "$WORK/stderr.txt" &
  else
    sed "s|@WORK@|$WORK|g" "/qv/scenarios/$name.script" > "$WORK/script.txt"
    # With NAME.first.sh the host waits (10 s at most) until the companion has run it.
    gate=""
    [ -f "/qv/scenarios/$name.first.sh" ] && gate=$WORK/host.go
    (
      _limit=$(($(now) + 10))
      while [ -n "$gate" ] && [ ! -e "$gate" ] && [ "$(now)" -lt "$_limit" ]; do sleep 0.05; done
      exec env $host_trace LD_LIBRARY_PATH=/qv/lib /qv/bin/quorvexdemo-headless "$WORK/script.txt"
    ) > "$OUT" 2> "$WORK/stderr.txt" &
  fi
  HOST_PID=$!
  export HOST_PID
  side_pid=""
  side=/qv/scenarios/$name
  if [ -f "$side.sh" ] || [ -f "$side.first.sh" ]; then
    # A session of its own, so that it goes with everything it started. What
    # NAME.first.sh opens stays open in that shell while NAME.sh runs.
    setsid sh -c ". /qv/lib.sh; [ -f $side.first.sh ] && . $side.first.sh; : > $WORK/host.go
                 [ -f $side.sh ] && . $side.sh" > "$WORK/companion.txt" 2>&1 &
    side_pid=$!
  fi
  killed=""
  limit=$(($(now) + SCENARIO_LIMIT))
  while alive "$HOST_PID"; do
    if [ "$(now)" -ge "$limit" ]; then
      kill -KILL "$HOST_PID"
      killed="host killed after $SCENARIO_LIMIT s"
      break
    fi
    sleep 0.1
  done
  wait "$HOST_PID"
  status=$?
  if [ -n "$side_pid" ]; then
    limit=$(($(now) + COMPANION_GRACE))
    while alive "$side_pid"; do
      if [ "$(now)" -ge "$limit" ]; then
        kill -KILL -- "-$side_pid"
        killed="${killed:+$killed; }companion killed"
        break
      fi
      sleep 0.1
    done
    wait "$side_pid"
  fi
  cd /
  echo "==== qv-begin $name"
  # The checker's figures (call times, rates) vary from run to run.
  grep -v '^		info: ' "$OUT"
  echo "exit: $status"
  sed 's/^/stderr: /' "$WORK/stderr.txt"
  [ -n "$killed" ] && echo "killed: $killed"
  [ -n "$side_pid" ] && cat "$WORK/companion.txt"
  echo "==== qv-end $name"
}
