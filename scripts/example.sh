#!/usr/bin/env bash
# Installs what the build needs, builds, and calculates the bundled example
# with the command-line program. The outputs go to out/example/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
mkdir -p out/example
./build/bin/qarvelion-cli calc examples/example.dor --out out/example
# A few of the run's diagrams, drawn by the grapher from the templates the
# build makes; it reads the data files from its working folder.
diagrams=(MgFeCrAl100_1 Fe3CrAl_3 Al2O3TiO2_1 CuNiCoFets)
drawn=""
if [ -x build/bin/qarvelion-grapher ]; then
  for d in "${diagrams[@]}"; do
    for ext in png svg; do
      (cd out/example && "$OLDPWD/build/bin/qarvelion-grapher" --names \
        --export "$d.$ext" "$OLDPWD/build/bin/templates/$d.grf")
    done
    drawn="$drawn $d"
  done
fi
echo
echo "Results table:      out/example/results.tsv"
echo "Diagram data files: out/example/*.dat"
if [ -n "$drawn" ]; then
  echo "Diagrams:"
  for d in $drawn; do echo "  out/example/$d.png  out/example/$d.svg"; done
  echo "Any of the 76 templates: cd out/example && ../../build/bin/qarvelion-grapher ../../build/bin/templates/NAME.grf"
else
  echo "Diagrams: not drawn (the grapher needs Qt 6 Widgets)"
fi
