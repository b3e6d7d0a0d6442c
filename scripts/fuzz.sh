#!/bin/sh
# Builds the fuzz targets of tests/fuzz with Clang, libFuzzer and ASan/UBSan
# in ./build-fuzz and runs each one for SECONDS (default 60) from its seed
# and regression corpora, as many at once as there are processors. Fails
# when any target reports a finding; the input that caused it is kept in
# build-fuzz/findings/TARGET/ and belongs, once the fault is fixed, in
# tests/fuzz/regressions/TARGET/.
#
# usage: scripts/fuzz.sh [SECONDS] [TARGET...]   (all targets by default)
set -e
cd "$(dirname "$0")/.."
seconds="${1:-60}"
[ $# -gt 0 ] && shift
targets="$*"

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DZELKOR_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j"$(nproc)"
# Every target the fuzz build made, unless some were named.
[ -n "$targets" ] ||
  targets=$(for f in build-fuzz/bin/*_fuzzer; do basename "$f" _fuzzer; done)

# One target for SECONDS; its status line goes to build-fuzz/findings/T.result.
fuzz_one() {
  t=$1
  findings="build-fuzz/findings/$t"
  mkdir -p "$findings"
  work=$(mktemp -d)
  set -- "$work" "tests/fuzz/corpus/$t"
  [ -d "tests/fuzz/regressions/$t" ] && set -- "$@" "tests/fuzz/regressions/$t"
  [ -f "tests/fuzz/$t.dict" ] && set -- "-dict=tests/fuzz/$t.dict" "$@"
  log="build-fuzz/findings/$t.log"
  status=ok
  "build-fuzz/bin/${t}_fuzzer" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$findings/" "$@" >"$log" 2>&1 || status=failed
  rm -rf "$work"
  done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1)
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  cov=$(echo "$done_line" | sed -n 's/.*cov: \([0-9]*\).*/\1/p')
  ft=$(echo "$done_line" | sed -n 's/.*ft: \([0-9]*\).*/\1/p')
  corp=$(echo "$done_line" | sed -n 's/.*corp: \([0-9]*\)\/.*/\1/p')
  printf '%-16s %12s %8s %8s %8s %s\n' "$t" "${runs:--}" "${cov:--}" "${ft:--}" "${corp:--}" \
    "$status" >"build-fuzz/findings/$t.result"
}

# The targets run side by side, one a processor, so the whole run takes
# SECONDS for every processor's share of them.
mkdir -p build-fuzz/findings
slots=$(nproc)
running=0
for t in $targets; do
  fuzz_one "$t" &
  running=$((running + 1))
  if [ "$running" -ge "$slots" ]; then
    wait
    running=0
  fi
done
wait

failed=""
printf '%-16s %12s %8s %8s %8s\n' target executions cov ft corpus
for t in $targets; do
  line=$(cat "build-fuzz/findings/$t.result")
  printf '%s\n' "${line% *}"
  if [ "${line##* }" != ok ]; then
    failed="$failed $t"
    tail -n 40 "build-fuzz/findings/$t.log"
  fi
done

if [ -n "$failed" ]; then
  echo "fuzzing found faults in:$failed (inputs in build-fuzz/findings/)" >&2
  exit 1
fi
