#!/usr/bin/env bash
# Runs one headless scenario and compares what it produced with what it must.
#   run_scenario.sh BIN_DIR SCENARIO_BASE
# Files beside SCENARIO_BASE:
#   .script    the user's actions (required)
#   .expected  the transcript, exactly (required); a line starting with "~ " is
#              an extended regular expression the whole line must match
#   .env       optional shell lines: VARIANT=<folder under BIN_DIR>, CONFIG=<json>,
#              CONFIG_FILE=<path QUORVEX_SIM_CONFIG names as it is>,
#              ALONE=1 (run the host from a folder with no tuner library),
#              STATUS=<exit status expected, 0 by default>, POSIX_ONLY=1
#              (a scenario about POSIX files such as named pipes: not run
#              under Windows, which has none), SUBST="NAME..." (each @NAME@ in
#              the files below stands for that variable's value); may set up
#              files in $WORK
#   .trace     optional: the virtual card's trace, exactly
#   .check     optional: more checks in bash, run with $WORK, $TRACE, $OUT set
# In all of them, @WORK@ stands for the scenario's scratch folder, and a line
# "@include NAME" stands for the lines of NAME.lines in this folder (shared
# passages such as the start-up transcript).
# QV_RUN_WITH (environment), when set, is the command that runs the Windows
# build's quorvexdemo-headless.exe (a cross build under Wine): the program then
# finds quorvex.dll beside itself, writes its transcript and log files with
# CRLF line ends, and takes the scratch folder's path as Wine maps it. Where
# Windows itself must answer differently, NAME.win32.expected holds the
# Windows transcript.
set -u
bin=$1
base=$2
name=$(basename "$base")
if [ -n "${QV_RUN_WITH:-}" ] && grep -qx 'POSIX_ONLY=1' "$base.env" 2>/dev/null; then
  echo "not run: a scenario about POSIX files"; exit 0
fi
WORK=$(mktemp -d "${TMPDIR:-/tmp}/qv-$name.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
export WORK
TRACE=$WORK/trace.txt
OUT=$WORK/transcript.txt

VARIANT="" CONFIG="" CONFIG_FILE="" ALONE="" STATUS=0 SUBST=""
[ -f "$base.env" ] && . "$base.env"

dir=$(dirname "$base")
subst() {
  local text
  text=$(awk -v dir="$dir" -f "$(dirname "$0")/include_lines.awk" "$1" | sed "s|@WORK@|$WORK|g")
  local name
  for name in ${SUBST:-}; do text=${text//@$name@/${!name}}; done
  printf '%s\n' "$text"
}

exe=$bin/quorvexdemo-headless
runner=${QV_RUN_WITH:-}
[ -n "$runner" ] && exe=$exe.exe
libdir=$bin
[ -n "$VARIANT" ] && libdir=$bin/$VARIANT
if [ -n "$ALONE" ]; then
  mkdir -p "$WORK/alone" && cp "$exe" "$WORK/alone/" && exe=$WORK/alone/$(basename "$exe")
  libdir=$WORK/alone
fi
if [ -n "$CONFIG" ]; then
  printf '%s\n' "$CONFIG" | sed "s|@WORK@|$WORK|g" > "$WORK/config.json"
  export QUORVEX_SIM_CONFIG=$WORK/config.json
elif [ -n "$CONFIG_FILE" ]; then
  export QUORVEX_SIM_CONFIG=$CONFIG_FILE
else
  unset QUORVEX_SIM_CONFIG
fi
export QUORVEX_SIM_TRACE=$TRACE
subst "$base.script" > "$WORK/script.txt"

if [ -n "$runner" ]; then
  # Windows loads a DLL from the executable's folder before any other, so the
  # program runs from a folder of its own with the chosen library beside it.
  mkdir -p "$WORK/run"
  cp "$exe" "$WORK/run/" && exe=$WORK/run/$(basename "$exe")
  [ -f "$libdir/quorvex.dll" ] && cp "$libdir/quorvex.dll" "$WORK/run/"
fi
# shellcheck disable=SC2086  # the runner is a command with its arguments
LD_LIBRARY_PATH=$libdir timeout 60 $runner "$exe" "$WORK/script.txt" > "$OUT" 2> "$WORK/stderr.txt"
status=$?
if [ -n "$runner" ]; then
  # Text written by the Windows program ends its lines with CR LF, every one
  # of them: checked here, then compared as the Linux build's text.
  for f in "$OUT" "$WORK"/*.log; do
    [ -f "$f" ] || continue
    if [ -s "$f" ] && { [ "$(tail -c 2 "$f" | od -An -c | tr -d ' ')" != '\r\n' ] ||
                         grep -q $'[^\r]$' "$f" || grep -q $'^$' "$f"; }; then
      echo "$(basename "$f"): not all lines end with CR LF"
      fail_crlf=1
    fi
    sed -i 's/\r$//' "$f"
  done
fi
fail=${fail_crlf:-0}
if [ $status -ne "$STATUS" ]; then
  echo "exit status $status, expected $STATUS"; cat "$WORK/stderr.txt"; fail=1
fi
expected=$base.expected
[ -n "$runner" ] && [ -f "$base.win32.expected" ] && expected=$base.win32.expected
# A line of the expectation that starts with "~ " is an extended regular
# expression the whole transcript line must match (a figure that depends on
# time, such as a bit rate); a line that matches stands in for it, so the diff
# shows only lines that really differ.
subst "$expected" > "$WORK/expected.txt"
mapfile -t wanted < "$WORK/expected.txt"
mapfile -t actual < "$OUT"
for i in "${!wanted[@]}"; do
  line=${wanted[$i]}
  if [[ $line == "~ "* ]] && [ "$i" -lt ${#actual[@]} ] && [[ ${actual[$i]} =~ ^(${line:2})$ ]]; then
    line=${actual[$i]}
  fi
  printf '%s\n' "$line"
done > "$WORK/expected.resolved"
if ! diff -u "$WORK/expected.resolved" "$OUT"; then
  echo "transcript differs (above: - expected, + actual)"; fail=1
fi
if [ -f "$base.trace" ]; then
  if ! diff -u <(subst "$base.trace") "$TRACE"; then
    echo "library trace differs"; fail=1
  fi
fi
if [ -f "$base.check" ]; then
  # A shell of its own, so errexit holds for every line of the checks (in a
  # subshell whose status is tested, bash ignores it).
  if ! WORK=$WORK TRACE=$TRACE OUT=$OUT bin=$bin bash -e "$base.check"; then
    echo "extra checks failed"; fail=1
  fi
fi
exit $fail
