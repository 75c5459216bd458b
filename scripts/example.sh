#!/usr/bin/env bash
# Installs what the build needs, builds, and calculates the bundled example
# with the command-line program. The outputs go to out/example/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
mkdir -p out/example
./build/bin/qarvelion-cli calc examples/example.dor --out out/example
echo
echo "Results table:      out/example/results.tsv"
echo "Diagram data files: out/example/*.dat"
