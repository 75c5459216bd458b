#!/usr/bin/env bash
# Builds Qarvelion in Release into build-bench/ and runs the benchmarks,
# five repetitions each, reporting mean, median and spread. Extra arguments
# go to the benchmark program (for example --benchmark_filter=Run).
#
# Then the batch end to end: one million header-named chromite analyses
# (generated into a folder under /tmp, never into the repository) through
# qarvelion-cli batch into a results TSV and the 57 diagram data files, run
# three times on one thread under /usr/bin/time -v, printing the wall time
# and the peak memory of each run. BATCH_ROWS changes the number of rows;
# BATCH_ROWS=0 skips this part.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-bench --target qarvelion-bench qarvelion-cli
./build-bench/bin/qarvelion-bench --benchmark_repetitions=5 \
  --benchmark_report_aggregates_only=true "$@"

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
for run in 1 2 3; do
  rm -rf "$work/out"
  /usr/bin/time -v taskset -c 0 ./build-bench/bin/qarvelion-cli batch "$work/chromite.csv" \
    --out "$work/out" 2>"$work/time.txt" || { cat "$work/time.txt"; exit 1; }
  wall=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$work/time.txt")
  peak=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/time.txt")
  user=$(sed -n 's/.*User time (seconds): //p' "$work/time.txt")
  sys=$(sed -n 's/.*System time (seconds): //p' "$work/time.txt")
  echo "batch run $run: wall $wall, user ${user} s, system ${sys} s, peak memory $((peak / 1024)) MiB"
done
grep 'rows calculated' "$work/time.txt" || true
echo "outputs: $(du -sh "$work/out" | cut -f1)"
