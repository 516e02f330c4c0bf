#!/usr/bin/env bash
# wine_run.sh PREFIX PROGRAM [ARGS...]: runs a cross-built Windows program
# under Wine, in the private prefix PREFIX unless WINEPREFIX names another.
# The prefix is made on first use (once, under a lock, when tests run in
# parallel); Wine's own diagnostics stay off unless WINEDEBUG says otherwise.
set -u
prefix=$1
shift
export WINEPREFIX=${WINEPREFIX:-$prefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No .NET or browser engine: the program needs neither, and Wine would
# otherwise offer to install them at the first start.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# One Wine server per prefix, kept for 30 s after its last program. When this
# call starts it, Wine's own background services are started here too, with
# their output away from the caller's: they outlive the program, and would
# keep its output pipe open (and, without flock -o, the lock held).
mkdir -p "$WINEPREFIX"
flock -o "$WINEPREFIX.lock" bash -c '
  started=0
  wineserver -p30 && started=1
  # (system.reg is no sign of a made prefix: the server writes it late.)
  if [ ! -f "$WINEPREFIX/.qv-made" ]; then
    wineboot -i && touch "$WINEPREFIX/.qv-made"
    started=1
  fi
  if [ $started = 1 ]; then wine cmd /c exit; fi' >/dev/null 2>&1 </dev/null
exec wine "$@"
