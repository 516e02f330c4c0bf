#!/usr/bin/env bash
# Host side of the kernel rig: splits the guest's console into scenarios and
# compares each with its expectation.
#   compare.sh CONSOLE_LOG SCENARIO_DIR
# For every SCENARIO_DIR/NAME.script (and NAME.compliance, NAME.sweep) the console must hold a section between
# "==== qv-begin NAME" and "==== qv-end NAME" that matches NAME.expected line
# for line: a line of NAME.expected that starts with "~ " is an extended
# regular expression the whole line must match, any other line must be equal.
# In NAME.expected, "@include FILE" stands for the lines of FILE.lines and
# @WORK@ for the scenario's folder in the guest. Exit status 1 on any failure.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
console=$1
dir=$2
clean=$(mktemp)
trap 'rm -f "$clean" "$clean".*' EXIT
tr -d '\r' < "$console" > "$clean"

fail=0
if grep -q '^==== qv-setup-failed' "$clean"; then
  echo "FAIL guest set-up: $(sed -n 's/^==== qv-setup-failed //p' "$clean" | head -n 1)"
  fail=1
fi
if ! grep -qx '==== qv-done' "$clean"; then
  echo "FAIL the guest did not finish its scenarios; the console ends with:"
  tail -n 15 "$clean" | sed 's/^/    /'
  fail=1
fi

expected_of() {  # NAME: the expectation with includes and @WORK@ resolved
  awk -v dir="$dir" -f "$here/../scenarios/include_lines.awk" "$dir/$1.expected" |
    sed "s|@WORK@|/tmp/run/$1|g"
}

for script in "$dir"/*.script "$dir"/*.compliance "$dir"/*.sweep; do
  [ -e "$script" ] || continue  # a pattern that matched nothing
  name=$(basename "${script%.*}")
  awk -v b="==== qv-begin $name" -v e="==== qv-end $name" '
      $0 == b { inside = 1; seen = 1; next }
      $0 == e && inside { inside = 0; ended = 1; exit }
      inside { print }
      END { if (!seen) exit 2; if (!ended) exit 3 }' "$clean" > "$clean.actual"
  case $? in
    2) echo "FAIL $name: no output from the guest"; fail=1; continue ;;
    3) echo "FAIL $name: its output is cut short"; fail=1 ;;
  esac
  expected_of "$name" > "$clean.expected"
  # Each pattern line that matches its actual line stands in for it, so diff
  # shows only the lines that really differ.
  # (bash's own matching: POSIX extended expressions, intervals included).
  mapfile -t actual < "$clean.actual"
  mapfile -t wanted < "$clean.expected"
  for i in "${!wanted[@]}"; do
    line=${wanted[$i]}
    if [[ $line == "~ "* ]] && [ "$i" -lt ${#actual[@]} ] && [[ ${actual[$i]} =~ ^(${line:2})$ ]]; then
      line=${actual[$i]}
    fi
    printf '%s\n' "$line"
  done > "$clean.resolved"
  if diff -u --label "$name.expected" --label "$name (guest)" "$clean.resolved" "$clean.actual" \
       > "$clean.diff"; then
    echo "ok   $name"
  else
    echo "FAIL $name (- expected, + guest):"
    tail -n +3 "$clean.diff" | sed 's/^/    /'
    fail=1
  fi
done
exit $fail
