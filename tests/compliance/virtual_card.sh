#!/usr/bin/env bash
# virtual_card.sh TOOL BIN_DIR: the compliance checker against the virtual
# card (every device, on a transponder that locks) and each reduced build of
# it. A reduced build fails only what it really lacks: a critical entry point,
# or an entry point behind a capability it still reports.
set -u
tool=$1 bin=$2
fail=0
run() {  # run VARIANT_DIR "FAILED CHECKS" ARGS...
  local dir=$1 want=$2 status failed
  shift 2
  out=$(LD_LIBRARY_PATH=$dir timeout 120 "$tool" "$@" 2>&1)
  status=$?
  failed=$(echo "$out" | sed -n 's/^\ttest \(.*\): FAIL .*/\1/p' | sort -u | paste -sd, -)
  if [ "$failed" != "$want" ] || { [ -z "$want" ] && [ $status -ne 0 ]; }; then
    echo "${dir##*/}: failed '$failed' (exit $status), expected '${want:-none}'"
    echo "$out" | sed 's/^/    /'
    fail=1
  else
    echo "${dir##*/}: $(echo "$out" | tail -n 1)"
  fi
}
junit=$(mktemp "${TMPDIR:-/tmp}/qv-junit.XXXXXX")
trap 'rm -f "$junit"' EXIT
run "$bin" "" --freq 10722 --write-eeprom --junit "$junit"
# The JUnit report counts what the summary line counts.
total=$(echo "$out" | sed -n 's/^Total: \([0-9]*\),.*/\1/p')
if ! grep -q "<testsuite name=\"quorvex-compliance\" tests=\"$total\" failures=\"0\"" "$junit" ||
   [ "$(grep -c '<testcase ' "$junit")" != "$total" ]; then
  echo "the JUnit report does not hold the $total checks:"; head -n 3 "$junit"; fail=1
fi
for v in critical legacy exonly nocaps getsignal strength; do
  run "$bin/$v" "" --device 0 --freq 10722
done
run "$bin/nostartdvb" "critical entry points"
run "$bin/nosetfilter" "critical entry points"
run "$bin/nosenddiseqc" "capabilities match the entry points" --device 0 --freq 10722
exit $fail
