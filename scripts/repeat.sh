#!/usr/bin/env bash
# Hunts rare failures (not part of CI): runs the whole suite SUITE_RUNS times,
# then every black-box test in a process of its own TEST_RUNS times, and
# prints how many runs failed. Logs of failed runs stay in build/repeat/.
#   scripts/repeat.sh [--arch x86|x64] [SUITE_RUNS [TEST_RUNS [FILTER]]]   (defaults 30, 200, *)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/arch.sh"
suite_runs=${1:-30}
test_runs=${2:-200}
filter=${3:-*}
"$root/scripts/build.sh" >/dev/null || exit 1
. "$root/scripts/wine-env.sh"
wine_env_start "$build" >/dev/null 2>&1
out="$build/repeat"
rm -rf "$out" && mkdir -p "$out"
cd "$build"

failed=0
for ((i = 1; i <= suite_runs; i++)); do
  if ! ctest --timeout 300 >"$out/suite-$i.log" 2>&1; then
    failed=$((failed + 1))
    echo "suite run $i failed: $(grep -E '\*\*\*|Failed|Exception' "$out/suite-$i.log" | head -n 3 | tr '\n' ' ')"
  else
    rm -f "$out/suite-$i.log"
  fi
done
echo "suite: $suite_runs runs, $failed failed"

tests=$(wine ./blackbox_tests.exe --gtest_list_tests --gtest_filter="$filter" 2>/dev/null | tr -d '\r' |
  awk '/^[^ ]/ {suite=$1} /^  / {print suite $1}')
total=0
failed=0
for t in $tests; do
  for ((i = 1; i <= test_runs; i++)); do
    total=$((total + 1))
    log="$out/$t-$i.log"
    if ! timeout 300 wine ./blackbox_tests.exe --gtest_filter="$t" >"$log" 2>&1; then
      failed=$((failed + 1))
      echo "$t run $i failed"
    else
      rm -f "$log"
    fi
  done
done
echo "black-box tests: $(echo "$tests" | wc -w) tests, $total runs, $failed failed"
