#!/usr/bin/env bash
# Builds the soak program into build-soak/ and runs it: 1,000 consecutive
# calculation runs of a full 200-row sheet through the desktop program's run
# (offscreen, every platform service faked) and through the command line's,
# printing time per run and resident memory every 100 runs, then the time to
# scroll the grown results table and to Select All and Copy it. Extra
# arguments go to the program (for example --runs 200 --cli-only).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-soak -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-soak --target qarvelion-soak
QT_QPA_PLATFORM=offscreen ./build-soak/bin/qarvelion-soak "$@" 2> >(grep -v "does not support" >&2)
