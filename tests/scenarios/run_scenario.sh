#!/usr/bin/env bash
# Runs one headless scenario and compares what it produced with what it must.
#   run_scenario.sh BIN_DIR SCENARIO_BASE
# Files beside SCENARIO_BASE:
#   .script    the user's actions (required)
#   .expected  the transcript, exactly (required)
#   .env       optional shell lines: VARIANT=<folder under BIN_DIR>, CONFIG=<json>,
#              ALONE=1 (run the host from a folder with no tuner library),
#              STATUS=<exit status expected, 0 by default>
#   .trace     optional: the virtual card's trace, exactly
#   .check     optional: more checks in bash, run with $WORK, $TRACE, $OUT set
# In all of them, @WORK@ stands for the scenario's scratch folder, and a line
# "@include NAME" stands for the lines of NAME.lines in this folder (shared
# passages such as the start-up transcript).
set -u
bin=$1
base=$2
name=$(basename "$base")
WORK=$(mktemp -d "${TMPDIR:-/tmp}/qv-$name.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
export WORK
TRACE=$WORK/trace.txt
OUT=$WORK/transcript.txt

VARIANT="" CONFIG="" ALONE="" STATUS=0
[ -f "$base.env" ] && . "$base.env"

dir=$(dirname "$base")
subst() {
  awk -v dir="$dir" '/^@include [A-Za-z0-9_]+$/ {
      f = dir "/" $2 ".lines"
      while ((getline line < f) > 0) print line
      close(f); next }
    { print }' "$1" | sed "s|@WORK@|$WORK|g"
}

exe=$bin/quorvexdemo-headless
libdir=$bin
[ -n "$VARIANT" ] && libdir=$bin/$VARIANT
if [ -n "$ALONE" ]; then
  mkdir -p "$WORK/alone" && cp "$exe" "$WORK/alone/" && exe=$WORK/alone/quorvexdemo-headless
  libdir=$WORK/alone
fi
if [ -n "$CONFIG" ]; then
  printf '%s\n' "$CONFIG" | sed "s|@WORK@|$WORK|g" > "$WORK/config.json"
  export QUORVEX_SIM_CONFIG=$WORK/config.json
else
  unset QUORVEX_SIM_CONFIG
fi
export QUORVEX_SIM_TRACE=$TRACE
subst "$base.script" > "$WORK/script.txt"

LD_LIBRARY_PATH=$libdir timeout 60 "$exe" "$WORK/script.txt" > "$OUT" 2> "$WORK/stderr.txt"
status=$?
fail=0
if [ $status -ne "$STATUS" ]; then
  echo "exit status $status, expected $STATUS"; cat "$WORK/stderr.txt"; fail=1
fi
if ! diff -u <(subst "$base.expected") "$OUT"; then
  echo "transcript differs (above: - expected, + actual)"; fail=1
fi
if [ -f "$base.trace" ]; then
  if ! diff -u <(subst "$base.trace") "$TRACE"; then
    echo "library trace differs"; fail=1
  fi
fi
if [ -f "$base.check" ]; then
  ( set -e; . "$base.check" ) || { echo "extra checks failed"; fail=1; }
fi
exit $fail
