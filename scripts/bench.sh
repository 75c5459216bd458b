#!/usr/bin/env bash
# Builds Qarvelion in Release into build-bench/ and runs the benchmarks,
# five repetitions each, reporting mean, median and spread. Extra arguments
# go to the benchmark program (for example --benchmark_filter=Run).
#
# Then the desktop program's start-up: launch to first painted window, ten
# times (under Xvfb when xvfb-run is installed, else on the offscreen
# platform), with the median. STARTUP_RUNS changes the count; 0 skips it.
#
# Then the batch end to end: one million header-named chromite analyses
# (generated into a folder under /tmp, never into the repository) through
# qarvelion-cli batch into a results TSV and the 57 diagram data files, run
# five times on one thread under /usr/bin/time -v, printing the wall time
# and the peak memory of each run and the medians. BATCH_ROWS changes the
# number of rows (BATCH_ROWS=0 skips this part), BATCH_RUNS the count.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-bench --target qarvelion-bench qarvelion-cli qarvelion
./build-bench/bin/qarvelion-bench --benchmark_repetitions=5 \
  --benchmark_report_aggregates_only=true "$@"

runs="${STARTUP_RUNS:-10}"
if [ "$runs" -gt 0 ]; then
  if command -v xvfb-run >/dev/null; then
    display="Xvfb"
    launch=(xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb)
  else
    display="offscreen platform"
    launch=(env QT_QPA_PLATFORM=offscreen)
  fi
  # One run outside the count warms the caches as a second start would.
  "${launch[@]}" ./build-bench/bin/qarvelion --exit-when-shown 2>/dev/null
  times=()
  for ((run = 1; run <= runs; run++)); do
    # xvfb-run starts its server first; the program's own time is taken
    # inside, from its launch to its exit after the first paint.
    ms=$("${launch[@]}" bash -c 'start=$(date +%s%N)
      ./build-bench/bin/qarvelion --exit-when-shown 2>/dev/null
      echo $((($(date +%s%N) - start) / 1000000))')
    times+=("$ms")
  done
  sorted=$(printf '%s\n' "${times[@]}" | sort -n | paste -sd ' ')
  median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p")
  echo "start-up to first shown window ($display): median $median ms over $runs runs ($sorted ms)"
fi

rows="${BATCH_ROWS:-1000000}"
[ "$rows" -gt 0 ] || exit 0
work="$(mktemp -d /tmp/qarvelion-batch-bench.XXXXXX)"
trap 'rm -rf "$work"' EXIT
# Chromite analyses as probe software exports them: named oxide columns,
# total iron as FeOT, a sample-name column.
awk -v rows="$rows" 'BEGIN {
  srand(7);
  print "Sample,SiO2,TiO2,Al2O3,Cr2O3,FeOT,MnO,MgO,CaO,NiO,ZnO";
  for (i = 1; i <= rows; i++) {
    printf "chr-%d,%.3f,%.3f,%.2f,%.2f,%.2f,%.3f,%.2f,%.3f,%.3f,%.3f\n", i,
      rand() * 0.3, rand() * 1.5, 8 + rand() * 22, 30 + rand() * 30, 15 + rand() * 15,
      0.1 + rand() * 0.4, 5 + rand() * 10, rand() * 0.1, rand() * 0.3, rand() * 0.3;
  }
}' >"$work/chromite.csv"
echo "batch: $rows header-named rows, $(du -h "$work/chromite.csv" | cut -f1) of CSV"
walls=()
peaks=()
for ((run = 1; run <= ${BATCH_RUNS:-5}; run++)); do
  rm -rf "$work/out"
  /usr/bin/time -v taskset -c 0 ./build-bench/bin/qarvelion-cli batch "$work/chromite.csv" \
    --out "$work/out" 2>"$work/time.txt" || { cat "$work/time.txt"; exit 1; }
  wall=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$work/time.txt")
  peak=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/time.txt")
  user=$(sed -n 's/.*User time (seconds): //p' "$work/time.txt")
  sys=$(sed -n 's/.*System time (seconds): //p' "$work/time.txt")
  echo "batch run $run: wall $wall, user ${user} s, system ${sys} s, peak memory $((peak / 1024)) MiB"
  # [h:]m:ss.cc as seconds
  walls+=("$(awk -F: '{ t = 0; for (i = 1; i <= NF; i++) t = t * 60 + $i; printf "%.2f", t }' \
    <<<"$wall")")
  peaks+=("$((peak / 1024))")
done
middle=$(((${#walls[@]} + 1) / 2))
echo "batch median: wall $(printf '%s\n' "${walls[@]}" | sort -g | sed -n "${middle}p") s," \
  "peak memory $(printf '%s\n' "${peaks[@]}" | sort -n | sed -n "${middle}p") MiB"
grep 'rows calculated' "$work/time.txt" || true
echo "outputs: $(du -sh "$work/out" | cut -f1)"
