#!/usr/bin/env bash
# wine_run.sh LOADER PREFIX PROGRAM [ARGS...]: runs a cross-built Windows
# program with the Wine loader LOADER (wine, or wine64 for a 64-bit build), in
# the private prefix PREFIX unless WINEPREFIX names another.
# The prefix is made on first use (once, under a lock, when tests run in
# parallel); Wine's own diagnostics stay off unless WINEDEBUG says otherwise.
set -u
loader=$1 prefix=$2
shift 2
export WINELOADER=$loader
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
  loader=$1
  started=0
  wineserver -p30 && started=1
  # (system.reg is no sign of a made prefix: the server writes it late.)
  if [ ! -f "$WINEPREFIX/.qv-made" ]; then
    "$loader" wineboot -i && touch "$WINEPREFIX/.qv-made"
    started=1
  fi
  if [ $started = 1 ]; then "$loader" cmd /c exit; fi' bash "$loader" >/dev/null 2>&1 </dev/null
exec "$loader" "$@"
