#!/usr/bin/env bash
# compare.sh on canned guest consoles: what it must accept and what it must
# catch (a wrong value, a pattern that matches only part of a line, a missing
# or extra line, a missing scenario, a guest that never finished).
#   compare_test.sh DIR_OF_COMPARE_SH
set -u
compare=$1/compare.sh
t=$(mktemp -d)
trap 'rm -rf "$t"' EXIT
mkdir "$t/sc"
printf 'show 1021\n' > "$t/sc/alpha.script"
printf 'show 1069\n' > "$t/sc/beta.script"
printf 'log: StartDVBEx() success !\n' > "$t/sc/start.lines"
cat > "$t/sc/alpha.expected" <<'X'
@include start
control 1021: enabled=1 check=1 sel=-1 count=0 text=Lock
~ control 1069: enabled=1 check=0 sel=-1 count=0 text=RFLevel: -3[45]{1}dBm
file @WORK@/a.ts
exit: 0
X
cat > "$t/sc/beta.expected" <<'X'
ended: cancel
exit: 0
X

console() {  # ALPHA_RFLEVEL_LINE [extra alpha line] -> a console with both scenarios
  printf 'boot noise\r\n==== qv-ready\r\n==== qv-begin alpha\r\n'
  printf 'log: StartDVBEx() success !\r\ncontrol 1021: enabled=1 check=1 sel=-1 count=0 text=Lock\r\n'
  printf '%s\r\n' "$1"
  printf 'file /tmp/run/alpha/a.ts\r\n'
  [ $# -gt 1 ] && printf '%s\r\n' "$2"
  printf 'exit: 0\r\n==== qv-end alpha\r\n'
  printf '[ 12.5] kernel noise between scenarios\r\n'
  printf '==== qv-begin beta\r\nended: cancel\r\nexit: 0\r\n==== qv-end beta\r\n==== qv-done\r\n'
}
good='control 1069: enabled=1 check=0 sel=-1 count=0 text=RFLevel: -34dBm'
failures=0
expect() {  # STATUS DESCRIPTION TEXT_THAT_MUST_APPEAR: runs compare.sh on $t/console
  local out status
  out=$(bash "$compare" "$t/console" "$t/sc")
  status=$?
  if [ "$status" -ne "$1" ] || ! grep -qF -- "$3" <<< "$out"; then
    echo "not as expected: $2 (status $status)"
    echo "$out" | sed 's/^/    /'
    failures=$((failures + 1))
  fi
}

console "$good" > "$t/console"
expect 0 "matching console" "ok   alpha"

console "${good/-34dBm/-36dBm}" > "$t/console"
expect 1 "value outside the pattern" "+control 1069: enabled=1 check=0 sel=-1 count=0 text=RFLevel: -36dBm"

console "${good}x" > "$t/console"
expect 1 "pattern matching only a prefix" "FAIL alpha"

console "$good" "log: one line too many" > "$t/console"
expect 1 "an extra line" "+log: one line too many"

console "$good" | grep -v 'text=Lock' > "$t/console"
expect 1 "a missing line" "-control 1021: enabled=1 check=1 sel=-1 count=0 text=Lock"

console "$good" | sed 's|/tmp/run/alpha|/tmp/run/beta|' > "$t/console"
expect 1 "the scenario folder substituted" "-file /tmp/run/alpha/a.ts"

console "$good" | sed '/qv-begin beta/,/qv-end beta/d' > "$t/console"
expect 1 "a scenario without output" "FAIL beta: no output from the guest"

console "$good" | sed '/qv-end beta/,$d' > "$t/console"
expect 1 "a guest that hung in a scenario" "FAIL beta: its output is cut short"

console "$good" | grep -v 'qv-done' > "$t/console"
expect 1 "a guest that did not finish" "FAIL the guest did not finish"

{ printf '==== qv-setup-failed insmod rc_core.ko\r\n'; console "$good"; } > "$t/console"
expect 1 "a failed guest set-up" "FAIL guest set-up: insmod rc_core.ko"

[ $failures -eq 0 ]
