#!/usr/bin/env bash
# Builds the Debian package qarvelion_<version>_<arch>.deb into out/package/.
# Usage: bash scripts/package.sh [BUILD_FOLDER]   (default: build-package; a
# folder of its own, since the tests are switched off there)
# The package is made from a Release build without the tests; it installs on
# Debian 12 with: apt-get install ./out/package/qarvelion_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${1:-build-package}
bash scripts/install-deps.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DQARVELION_BUILD_TESTS=OFF -DQARVELION_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" --parallel "$(nproc)"
mkdir -p out/package
(cd "$build" && cpack -G DEB -B "$root/out/package/cpack" >/dev/null)
rm -f out/package/qarvelion_*.deb
mv out/package/cpack/qarvelion_*.deb out/package/
rm -rf out/package/cpack
ls -l out/package/qarvelion_*.deb
