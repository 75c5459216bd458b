#!/usr/bin/env bash
# Builds Qarvelion in Release into build-bench/ and runs the benchmarks,
# five repetitions each, reporting mean, median and spread. Extra arguments
# go to the benchmark program (for example --benchmark_filter=Run).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-bench --target qarvelion-bench
./build-bench/bin/qarvelion-bench --benchmark_repetitions=5 \
  --benchmark_report_aggregates_only=true "$@"
