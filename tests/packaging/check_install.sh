#!/usr/bin/env bash
# The installed layout: `cmake --install` into a scratch folder puts the
# programs and the fixed files together into the application folder, the
# commands on PATH lead there, and the desktop files, icons and help pages
# are in their places.
# Usage: check_install.sh BUILD_FOLDER EXAMPLE.dor
set -uo pipefail
build=$1 example=$2
failed=0
fail() { echo "FAIL: $*"; failed=1; }
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
DESTDIR=$dest cmake --install "$build" --prefix /usr >"$dest/install.log" 2>&1 ||
  { cat "$dest/install.log"; echo "FAIL: cmake --install"; exit 1; }
rm "$dest/install.log"
usr=$dest/usr app=$dest/usr/lib/qarvelion

for f in qarvelion qarvelion-cli; do [ -x "$app/$f" ] || fail "$f is not in the application folder"; done
for f in Output.xlsx DuVaruri.xls DuVaruri.xlsx; do [ -s "$app/$f" ] || fail "$f is not in the application folder"; done
[ ! -f "$build/bin/qarvelion.chm" ] || [ -s "$app/qarvelion.chm" ] || fail "qarvelion.chm is not installed"
built=$( (ls "$build/bin/templates/"*.grf 2>/dev/null || true) | wc -l)
installed=$( (ls "$app/templates/"*.grf 2>/dev/null || true) | wc -l)
[ "$built" -eq "$installed" ] || fail "$installed of $built templates are installed"
links=(qarvelion-cli)
if [ -x "$build/bin/qarvelion-grapher" ]; then
  links+=(qarvelion-grapher)
  [ -x "$app/qarvelion-grapher" ] || fail "qarvelion-grapher is not in the application folder"
  [ -f "$usr/share/applications/qarvelion-grapher.desktop" ] || fail "the diagram viewer has no desktop entry"
fi
for f in "${links[@]}"; do
  [ -L "$usr/bin/$f" ] || { fail "bin/$f is no link"; continue; }
  [ "$(readlink -f "$usr/bin/$f")" = "$app/$f" ] || fail "bin/$f leads to $(readlink -f "$usr/bin/$f")"
done
[ -x "$usr/bin/qarvelion" ] && head -n 1 "$usr/bin/qarvelion" | grep -q '^#!/bin/sh' ||
  fail "bin/qarvelion is not the launcher"
for f in share/applications/qarvelion.desktop share/mime/packages/qarvelion.xml \
  share/icons/hicolor/48x48/apps/qarvelion.png share/icons/hicolor/256x256/apps/qarvelion.png \
  share/icons/hicolor/48x48/mimetypes/application-x-qarvelion-grf.png \
  share/qarvelion/example.dor share/doc/qarvelion/html/index.html share/doc/qarvelion/html/style.css; do
  [ -s "$usr/$f" ] || fail "$f is not installed"
done
# Nothing but what belongs to the package.
extra=$(cd "$usr" && find . -type f -o -type l | grep -v -E \
  '^\./(bin/qarvelion(-cli|-grapher)?|lib/qarvelion/.*|share/(applications|mime/packages|qarvelion|doc/qarvelion|icons/hicolor)/.*)$' || true)
[ -z "$extra" ] || fail "unexpected installed files: $extra"

# The command on PATH runs the installed program.
out=$dest/run
mkdir -p "$out"
(cd "$out" && "$usr/bin/qarvelion-cli" calc "$example" --out . >/dev/null) || fail "bin/qarvelion-cli calc failed"
[ -s "$out/results.tsv" ] || fail "bin/qarvelion-cli wrote no results table"

[ $failed -eq 0 ] && echo "the installed layout is complete"
exit $failed
