#!/usr/bin/env bash
# Runs the fuzzers of the `fuzz` preset.
#   scripts/fuzz.sh TARGET SECONDS   one fuzzer, e.g. scripts/fuzz.sh links 600
#   scripts/fuzz.sh all SECONDS      every fuzzer, as many at a time as there are cores
# Each starts from its seeds in tests/fuzz/corpus/TARGET (run first, so a seed that fails
# again fails at once) and keeps what it learns in build/fuzz/corpus/TARGET. A failing input
# lands in build/fuzz/findings/TARGET/; the run then exits non-zero. Each run ends with its
# executions per second and the coverage it reached.
set -euo pipefail
cd "$(dirname "$0")/.."
export LC_ALL=C

if [ $# -ne 2 ]; then
  echo "usage: $0 TARGET|all SECONDS" >&2
  exit 2
fi
target=$1
seconds=$2
fuzz_dir=tests/fuzz
build=build/fuzz

# Built once, before any fuzzer starts: two builds of one folder at a time would spoil it.
if [ -z "${VEXO_FUZZ_BUILT:-}" ]; then
  cmake --preset fuzz >/dev/null
  cmake --build --preset fuzz -j "$(nproc)" >/dev/null
  export VEXO_FUZZ_BUILT=1
fi

if [ "$target" = all ]; then
  mkdir -p "$build/logs"
  targets=$(ls "$fuzz_dir/corpus")
  status=0
  # One fuzzer per core; each writes its own log, read once all have ended.
  printf '%s\n' $targets | xargs -P "$(nproc)" -I{} sh -c "bash '$0' {} '$seconds' > '$build/logs/{}.log' 2>&1" || status=$?
  for t in $targets; do
    tail -n 1 "$build/logs/$t.log"
  done
  if [ "$status" -ne 0 ]; then
    for t in $targets; do
      if ! tail -n 1 "$build/logs/$t.log" | grep -q '^fuzz '; then
        echo "---- $t"
        tail -n 40 "$build/logs/$t.log"
      fi
    done
  fi
  exit "$status"
fi

program="$build/tests/fuzz/${target}_fuzzer"
seeds="$fuzz_dir/corpus/$target"
if [ ! -x "$program" ] || [ ! -d "$seeds" ]; then
  echo "no fuzzer named $target (see $fuzz_dir/corpus)" >&2
  exit 2
fi
corpus="$build/corpus/$target"
findings="$build/findings/$target"
mkdir -p "$corpus" "$findings"
options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
         -artifact_prefix="$findings/")
[ -f "$fuzz_dir/dict/$target.dict" ] && options+=(-dict="$fuzz_dir/dict/$target.dict")

log=$(mktemp)
trap 'rm -f "$log"' EXIT
set +e
UBSAN_OPTIONS=print_stacktrace=1 "$program" "${options[@]}" "$corpus" "$seeds" 2>&1 | tee "$log" | grep -v -E '^#[0-9]+'
result=${PIPESTATUS[0]}
set -e
last=$(grep -E '^#[0-9]+[[:space:]]+(DONE|pulse|NEW|REDUCE|INITED)' "$log" | tail -n 1 || true)
cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
units=$(ls "$corpus" | wc -l)
if [ "$result" -ne 0 ]; then
  echo "FAILED $target after ${runs:-?} runs: the input is in $findings/"
  exit "$result"
fi
echo "fuzz $target: ${runs:-0} runs in ${seconds}s, ${speed:-0} exec/s, coverage ${cov:-?} edges, ${ft:-?} features, corpus $units"
