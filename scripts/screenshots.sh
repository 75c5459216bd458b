#!/usr/bin/env bash
# Takes a picture of each window (start-up screen, data-entry screen with
# the bundled example, results window, About and citation windows) in a real
# X server (Xvfb), into docs/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
if ! command -v xvfb-run >/dev/null; then
  apt-get install -y -q --no-install-recommends xvfb xauth >/dev/null
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p docs/screenshots
(cd "$work" && xvfb-run -a -s "-screen 0 1600x1000x24" \
  "$OLDPWD/build/bin/qarvelion-screenshots" "$OLDPWD/examples/example.dor" "$OLDPWD/docs/screenshots")

# The grapher with the example's points: a binary and a ternary diagram,
# drawn off screen from the run's data files in the working folder.
./build/bin/qarvelion-cli calc examples/example.dor --out "$work/run" >/dev/null 2>&1
for shot in "MgFeCrAl100_1 grapher-binary" "Fe3CrAl_3 grapher-ternary"; do
  set -- $shot
  (cd "$work/run" && "$OLDPWD/build/bin/qarvelion-grapher" --names \
    --screenshot "$OLDPWD/docs/screenshots/$2.png" "$OLDPWD/build/bin/templates/$1.grf")
done
