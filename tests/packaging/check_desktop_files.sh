#!/usr/bin/env bash
# The desktop entries and the file types are valid, the .grf type's default
# application is the diagram viewer's entry, and every icon they name is
# drawn by the build.
# Usage: check_desktop_files.sh PACKAGING_SOURCE_FOLDER ICON_FOLDER
set -euo pipefail
src=$1 icons=$2
failed=0
fail() { echo "FAIL: $*"; failed=1; }
for tool in desktop-file-validate xmllint update-mime-database update-desktop-database; do
  command -v $tool >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

for entry in "$src"/*.desktop; do
  out=$(desktop-file-validate "$entry" 2>&1) || fail "$(basename "$entry"): $out"
  [ -z "$out" ] || fail "$(basename "$entry"): $out"
  icon=$(sed -n 's/^Icon=//p' "$entry")
  [ -f "$icons/hicolor/48x48/apps/$icon.png" ] || fail "$(basename "$entry") names icon $icon, not drawn"
done
xmllint --noout "$src/qarvelion-mime.xml" || fail "qarvelion-mime.xml is not well-formed"
for icon in $(grep -o '<icon name="[^"]*"' "$src/qarvelion-mime.xml" | sed 's/.*name="//; s/"//'); do
  [ -f "$icons/hicolor/48x48/mimetypes/$icon.png" ] || fail "file type icon $icon is not drawn"
done

# A scratch data folder as a package puts it on the system.
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
mkdir -p "$data/mime/packages" "$data/applications"
cp "$src/qarvelion-mime.xml" "$data/mime/packages/qarvelion.xml"
cp "$src"/*.desktop "$data/applications/"
update-mime-database "$data/mime" >/dev/null 2>&1
update-desktop-database "$data/applications"
for pair in 'application/x-qarvelion-grf:*.grf' 'application/x-qarvelion-dor:*.dor'; do
  grep -qF ":$pair" "$data/mime/globs2" || fail "the file types lack $pair"
done
grep -qx 'application/x-qarvelion-dor text/plain' "$data/mime/subclasses" ||
  fail "analysis files are not plain text to the desktop"
grep -qx 'application/x-qarvelion-grf=qarvelion-grapher.desktop;' "$data/applications/mimeinfo.cache" ||
  fail "the diagram viewer does not open .grf files"
if command -v xdg-mime >/dev/null; then
  home=$data/home
  mkdir -p "$home"
  answer=$(HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_DATA_DIRS=$data \
    XDG_CURRENT_DESKTOP= DE= xdg-mime query default application/x-qarvelion-grf)
  [ "$answer" = qarvelion-grapher.desktop ] || fail "xdg-mime names '$answer' for .grf"

  # The desktop's open of a template, as the results window's Graph menu
  # asks for it, starts the diagram viewer on that template. A recording
  # stand-in answers to the viewer's name; xdg-open looks for a file type's
  # application only when there is a display, and nothing is drawn here.
  # Outside a desktop session xdg-open knows file types by their names only
  # through mimetype (libfile-mimeinfo-perl), which the package depends on.
  if mimetype --version >/dev/null 2>&1; then
    mkdir -p "$data/standin" "$data/work"
    cat >"$data/standin/qarvelion-grapher" <<STANDIN
#!/bin/sh
printf '%s\n' "\$*" >"$data/standin/called"
STANDIN
    chmod +x "$data/standin/qarvelion-grapher"
    printf 'qarvelion-template 1\n' >"$data/work/MgFeCrAl100_1.grf"
    (cd "$data/work" && HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data \
      XDG_DATA_DIRS=$data XDG_CURRENT_DESKTOP= DE= DISPLAY=${DISPLAY:-:99} BROWSER=false \
      PATH="$data/standin:$PATH" xdg-open "$data/work/MgFeCrAl100_1.grf" >/dev/null 2>&1) || true
    for _ in $(seq 50); do [ -f "$data/standin/called" ] && break; sleep 0.1; done
    called=$(cat "$data/standin/called" 2>/dev/null || echo nothing)
    [ "$called" = "$data/work/MgFeCrAl100_1.grf" ] ||
      fail "opening a template started '$called', not the diagram viewer on it"
  else
    echo "note: mimetype is not installed, the open of a template is not tried"
  fi
fi
[ $failed -eq 0 ] && echo "desktop entries, file types and icons are in order"
exit $failed
