# Shell functions of the guest: running one scenario (init), and the helpers
# that a scenario's companion script NAME.sh uses while the host runs.
# A companion gets WORK (the scenario's folder), OUT (the transcript, flushed
# line by line), HOST_PID and LIRC_DEV; what it prints follows the transcript.

SCENARIO_LIMIT=40  # seconds a host may run before it is killed
COMPANION_GRACE=10 # seconds a companion may go on after its host ended

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

host_threads() { ls "/proc/$HOST_PID/task" | wc -l; }

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
# checker with the options in NAME.compliance) in /tmp/run/NAME,
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
  cd "$WORK" || return
  if [ -f "/qv/scenarios/$name.compliance" ]; then
    # NAME.compliance holds the compliance checker's options instead.
    # shellcheck disable=SC2046  # the options are meant to split
    /qv/bin/quorvex-compliance $(cat "/qv/scenarios/$name.compliance") /qv/lib/libquorvex.so \
      > "$OUT" 2> "$WORK/stderr.txt" &
  else
    sed "s|@WORK@|$WORK|g" "/qv/scenarios/$name.script" > "$WORK/script.txt"
    LD_LIBRARY_PATH=/qv/lib /qv/bin/quorvexdemo-headless "$WORK/script.txt" \
      > "$OUT" 2> "$WORK/stderr.txt" &
  fi
  HOST_PID=$!
  export HOST_PID
  side_pid=""
  if [ -f "/qv/scenarios/$name.sh" ]; then
    # A session of its own, so that it goes with everything it started.
    setsid sh -c ". /qv/lib.sh; . /qv/scenarios/$name.sh" > "$WORK/companion.txt" 2>&1 &
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
