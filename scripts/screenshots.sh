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
