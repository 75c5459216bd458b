#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/) with clang into build-fuzz/ and runs
# each for a bounded time and number of runs, starting from its seed corpus
# in fuzz/corpus/<target>/ and keeping what it finds in
# build-fuzz/corpus/<target>/. A crash, leak, timeout or memory blow-up fails
# the script; the input that caused it is left in build-fuzz/artifacts/.
#
#   scripts/fuzz.sh                 every target, 10 minutes or 1,000,000 runs each
#   scripts/fuzz.sh --ci            every target, 20 seconds each, one per core (CI)
#   scripts/fuzz.sh --time 60 --runs 100000 --jobs 2 fuzz_xlsx fuzz_xls
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

seconds=600
runs=1000000
jobs=1
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --ci) seconds=20; runs=100000000; jobs=$(nproc) ;;
    --time) seconds="$2"; shift ;;
    --runs) runs="$2"; shift ;;
    --jobs) jobs="$2"; shift ;;
    -h|--help) sed -n '2,12p' "$0"; exit 0 ;;
    -*) echo "fuzz.sh: unknown option $1" >&2; exit 2 ;;
    *) targets+=("$1") ;;
  esac
  shift
done

bash scripts/install-deps.sh
build=build-fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DQARVELION_FUZZ=ON \
  -DQARVELION_BUILD_TESTS=OFF -DQARVELION_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" --target fuzz_targets --parallel "$(nproc)"

if [ ${#targets[@]} -eq 0 ]; then
  for exe in "$build"/bin/fuzz_*; do targets+=("$(basename "$exe")"); done
fi

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:symbolize=1"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

run_one() {
  local target=$1
  local corpus="$build/corpus/$target" artifacts="$build/artifacts/$target/" log="$build/logs/$target.log"
  mkdir -p "$corpus" "$artifacts" "$(dirname "$log")"
  local seeds="fuzz/corpus/$target"
  [ -d "$seeds" ] || seeds=""
  local start=$SECONDS status=0
  "$build/bin/$target" -max_total_time="$seconds" -runs="$runs" -timeout=10 -rss_limit_mb=2048 \
    -malloc_limit_mb=1024 -max_len=262144 -print_final_stats=1 -artifact_prefix="$artifacts" \
    "$corpus" $seeds >"$log" 2>&1 || status=$?
  local done_line execs
  done_line=$(grep -E '^Done [0-9]+ runs' "$log" | tail -1 || true)
  execs=$(grep -E 'stat::number_of_executed_units' "$log" | awk '{print $2}' | tail -1)
  printf '%-24s %s executions in %ss, corpus %s files, exit %s\n' "$target" "${execs:-?}" \
    "$((SECONDS - start))" "$(find "$corpus" -type f | wc -l)" "$status"
  if [ "$status" -ne 0 ]; then
    echo "--- $target failed; the end of its log ($log):"
    tail -40 "$log"
    return 1
  fi
}

failed=0
pids=()
for target in "${targets[@]}"; do
  run_one "$target" &
  pids+=($!)
  if [ ${#pids[@]} -ge "$jobs" ]; then
    wait "${pids[0]}" || failed=1
    pids=("${pids[@]:1}")
  fi
done
for pid in "${pids[@]}"; do wait "$pid" || failed=1; done
exit "$failed"
