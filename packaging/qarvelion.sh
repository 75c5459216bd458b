#!/bin/sh
# Starts the Qarvelion desktop program in the user's work folder.
#
# The program writes the diagram data files (*.dat) of every run into its
# working folder, and the results window's Graph menu opens the diagram
# templates (*.grf) there by bare name. So the program runs in one folder that
# holds both: $QARVELION_WORK_DIR, or ~/Qarvelion when that is not set. The
# folder is made when missing; templates missing from it are copied in from
# the application folder, and a file already there (a template the user
# changed, say) is never replaced. A new work folder also receives the
# bundled example analysis file.
set -eu

here=$(dirname "$(readlink -f "$0")")
app="$here/../lib/qarvelion"
share="$here/../share/qarvelion"

if [ ! -x "$app/qarvelion" ]; then
  echo "qarvelion: the program is missing from $app" >&2
  exit 1
fi

work=${QARVELION_WORK_DIR:-${HOME:?}/Qarvelion}
if [ ! -d "$work" ]; then
  mkdir -p "$work"
  if [ -f "$share/example.dor" ]; then cp "$share/example.dor" "$work/example.dor"; fi
fi

for template in "$app"/templates/*.grf; do
  [ -f "$template" ] || continue
  target="$work/${template##*/}"
  if [ ! -e "$target" ] && [ ! -L "$target" ]; then cp "$template" "$target" || true; fi
done

cd "$work"
exec "$app/qarvelion" "$@"
