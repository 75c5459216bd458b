#!/usr/bin/env bash
# Checks the Debian package on a clean Debian 12 system: makes a fresh root
# (debootstrap from this machine's Debian mirror, kept as a tar file for the
# next run), installs the package there with apt-get and checks that
#   1. qarvelion-cli calculates examples/example.dor (results table and the
#      57 diagram data files);
#   2. the desktop program, started through its launcher under Xvfb, shows its
#      window, and the launcher has made the work folder ~/Qarvelion;
#   3. the .grf type is known and its default application is the diagram
#      viewer's desktop entry, and the desktop's "open" of a template in the
#      work folder starts the viewer with that template (a recording stand-in
#      takes the viewer's place).
# Slow (minutes): not part of the test suite. Run as root.
#
# Usage: bash scripts/check-package.sh [PACKAGE.deb]
#   default package: out/package/qarvelion_*.deb (made by scripts/package.sh
#   when missing). QARVELION_CHECK_DIR chooses the scratch folder (default
#   /var/tmp/qarvelion-check); delete base.tar there to debootstrap afresh.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
start=$(date +%s)

if [ "$(id -u)" -ne 0 ]; then
  echo "check-package: run as root (debootstrap and chroot need it)" >&2
  exit 1
fi

deb=${1:-}
if [ -z "$deb" ]; then
  deb=$(ls out/package/qarvelion_*.deb 2>/dev/null | head -n 1 || true)
  if [ -z "$deb" ]; then
    bash scripts/package.sh
    deb=$(ls out/package/qarvelion_*.deb | head -n 1)
  fi
fi
deb=$(readlink -f "$deb")
[ -f "$deb" ] || { echo "check-package: no package $deb" >&2; exit 1; }

scratch=${QARVELION_CHECK_DIR:-/var/tmp/qarvelion-check}
base_tar=$scratch/base.tar
root=$scratch/root
mkdir -p "$scratch"

step() { printf '\n== %s (%ss)\n' "$1" "$(($(date +%s) - start))"; }
fail() { echo "check-package: FAILED: $*" >&2; exit 1; }
count_templates() { { find "$1" -maxdepth 1 -name '*.grf' 2>/dev/null || true; } | wc -l; }

# The Debian mirror this machine's apt uses for bookworm (deb822 or one-line
# sources), falling back to deb.debian.org.
mirror() {
  local uri
  uri=$(awk '
    /^URIs:/    { uris = $2 }
    /^Suites:/  { for (i = 2; i <= NF; i++) if ($i == "bookworm") { print uris; exit } }
    /^deb / && $3 == "bookworm" { print $2; exit }
  ' /etc/apt/sources.list /etc/apt/sources.list.d/*.sources /etc/apt/sources.list.d/*.list 2>/dev/null |
    head -n 1)
  echo "${uri:-http://deb.debian.org/debian}"
}

mounted=()
cleanup() {
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[$i]}" 2>/dev/null || true; done
}
trap cleanup EXIT

in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin \
  HOME=/root LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"; }

if [ ! -f "$base_tar" ]; then
  step "Making a clean Debian 12 root"
  command -v debootstrap >/dev/null || {
    apt-get update -q >/dev/null
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends debootstrap >/dev/null
  }
  rm -rf "$scratch/base"
  debootstrap --variant=minbase bookworm "$scratch/base" "$(mirror)" >"$scratch/debootstrap.log" 2>&1 ||
    fail "debootstrap (see $scratch/debootstrap.log)"
  # The root follows this machine's sources (updates and security included)
  # where they are in deb822 form; otherwise the mirror debootstrap wrote.
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    cp /etc/apt/sources.list.d/debian.sources "$scratch/base/etc/apt/sources.list.d/"
    rm -f "$scratch/base/etc/apt/sources.list"
  fi
  tar -C "$scratch/base" -cf "$base_tar" .
  rm -rf "$scratch/base"
fi

step "Unpacking the clean root"
# A run that was killed may have left its mounts: undo them before removing.
{ grep -F " $root/" /proc/mounts || true; } | awk '{print $2}' | sort -r |
  while read -r m; do umount -l "$m"; done
rm -rf "$root"
mkdir -p "$root"
tar -C "$root" -xf "$base_tar"
for fs in proc dev dev/pts; do
  mkdir -p "$root/$fs"
  case $fs in
    proc) mount -t proc proc "$root/proc" ;;
    *) mount --bind "/$fs" "$root/$fs" ;;
  esac
  mounted+=("$root/$fs")
done
cp /etc/resolv.conf "$root/etc/resolv.conf"
mkdir -p "$root/check"
cp "$deb" "$root/check/"
cp "$repo/examples/example.dor" "$root/check/"
debname=$(basename "$deb")

step "Installing $debname with apt-get (no recommended packages)"
t0=$(date +%s)
in_root apt-get update -q >"$scratch/apt.log" 2>&1 || fail "apt-get update (see $scratch/apt.log)"
in_root apt-get install -y -q --no-install-recommends "/check/$debname" >>"$scratch/apt.log" 2>&1 ||
  fail "apt-get install (see $scratch/apt.log)"
install_seconds=$(($(date +%s) - t0))
echo "installed in ${install_seconds}s"
for f in /usr/bin/qarvelion /usr/bin/qarvelion-cli /usr/lib/qarvelion/qarvelion \
  /usr/lib/qarvelion/Output.xlsx /usr/lib/qarvelion/DuVaruri.xls /usr/lib/qarvelion/DuVaruri.xlsx \
  /usr/share/applications/qarvelion.desktop /usr/share/mime/packages/qarvelion.xml; do
  [ -e "$root$f" ] || fail "$f is not installed"
done
for f in /usr/lib/qarvelion/qarvelion.chm /usr/lib/qarvelion/qarvelion-grapher /usr/bin/qarvelion-grapher; do
  [ -e "$root$f" ] && echo "installed: $f" || echo "not in this package: $f"
done
templates=$(count_templates "$root/usr/lib/qarvelion/templates")
echo "templates in the application folder: $templates"

step "qarvelion-cli calc example.dor"
in_root sh -c 'mkdir -p /check/cli && cd /check/cli && qarvelion-cli calc /check/example.dor --out out' \
  >"$scratch/cli.log" 2>&1 || { cat "$scratch/cli.log"; fail "qarvelion-cli calc"; }
rows=$(($(wc -l <"$root/check/cli/out/results.tsv") - 2))
dats=$(find "$root/check/cli/out" -maxdepth 1 -name '*.dat' | wc -l)
echo "results.tsv: $rows calculated rows; diagram data files: $dats"
[ "$rows" -gt 0 ] || fail "results.tsv holds no calculated row"
[ "$dats" -eq 57 ] || fail "expected 57 diagram data files, found $dats"

step "Installing the checking tools (Xvfb, xwininfo, the MIME lookup of xdg-utils)"
in_root apt-get install -y -q --no-install-recommends xvfb x11-utils libfile-mimeinfo-perl \
  >>"$scratch/apt.log" 2>&1 || fail "installing the checking tools (see $scratch/apt.log)"

step "qarvelion under Xvfb"
cat >"$root/check/window.sh" <<'EOF'
set -u
export HOME=/check/home XDG_RUNTIME_DIR=/check/run DISPLAY=:57
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"
Xvfb :57 -screen 0 1280x1024x24 -nolisten tcp >/check/xvfb.log 2>&1 &
xvfb=$!
for i in $(seq 50); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.1; done
qarvelion >/check/qarvelion.log 2>&1 &
app=$!
found=""
for i in $(seq 100); do
  # The data-entry window's caption: "Q a r v e l i o n" and trailing blanks.
  found=$(xwininfo -root -tree 2>/dev/null | grep -F '"Q a r v e l i o n' | head -n 1)
  [ -n "$found" ] && break
  kill -0 $app 2>/dev/null || break
  sleep 0.2
done
echo "window: ${found:-none} after $((i * 200)) ms"
kill $app 2>/dev/null; wait $app 2>/dev/null
kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null
[ -n "$found" ]
EOF
in_root sh /check/window.sh || { cat "$root/check/qarvelion.log"; fail "qarvelion showed no window"; }
[ -d "$root/check/home/Qarvelion" ] || fail "the launcher made no work folder ~/Qarvelion"
[ -f "$root/check/home/Qarvelion/example.dor" ] || fail "the new work folder has no example.dor"
copied=$(count_templates "$root/check/home/Qarvelion")
echo "work folder ~/Qarvelion: example.dor and $copied templates"
[ "$copied" -eq "$templates" ] || fail "the work folder has $copied of $templates templates"

if [ -x "$root/usr/bin/qarvelion-grapher" ] && [ "$templates" -gt 0 ]; then
  step "qarvelion-grapher draws a template of the work folder with the run's data"
  in_root sh -c 'cd /check/home/Qarvelion && qarvelion-cli calc example.dor --out . >/dev/null &&
    HOME=/check/home XDG_RUNTIME_DIR=/check/run qarvelion-grapher --export /check/diagram.png MgFeCrAl100_1.grf' \
    >"$scratch/grapher.log" 2>&1 || { cat "$scratch/grapher.log"; fail "qarvelion-grapher --export"; }
  [ -s "$root/check/diagram.png" ] || fail "qarvelion-grapher wrote no picture"
  cp "$root/check/diagram.png" "$scratch/diagram.png"
  echo "MgFeCrAl100_1.grf drawn: $(stat -c %s "$scratch/diagram.png") bytes ($scratch/diagram.png)"
fi

step "The .grf type and the desktop's open"
cat >"$root/check/mime.sh" <<'EOF'
set -eu
export HOME=/check/mimehome XDG_CONFIG_HOME=/check/mimehome/config XDG_DATA_HOME=/check/mimehome/data
export XDG_DATA_DIRS=/usr/local/share:/usr/share XDG_RUNTIME_DIR=/check/run
# A desktop session has a display; xdg-open looks for the file type's
# application only then. Nothing is drawn: the stand-in below takes the
# viewer's place.
export DISPLAY=:57
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"
work=$HOME/Qarvelion
mkdir -p "$work"
template=$(ls /usr/lib/qarvelion/templates/MgFeCrAl100_1.grf 2>/dev/null || true)
if [ -n "$template" ]; then cp "$template" "$work/"; else printf 'template\n' >"$work/MgFeCrAl100_1.grf"; fi
printf '"a\tb"\r\n' >"$work/example.dor"
echo "filetype .grf: $(xdg-mime query filetype "$work/MgFeCrAl100_1.grf")"
echo "filetype .dor: $(xdg-mime query filetype "$work/example.dor")"
echo "default for application/x-qarvelion-grf: $(xdg-mime query default application/x-qarvelion-grf)"
# The stand-in answers to the name the desktop entry runs and records what
# it was given and where it was started.
mkdir -p /check/standin
cat >/check/standin/qarvelion-grapher <<'STANDIN'
#!/bin/sh
printf '%s\n%s\n' "$PWD" "$*" >/check/standin/called
STANDIN
chmod +x /check/standin/qarvelion-grapher
rm -f /check/standin/called
# As the results window's Graph menu does: a bare template name, resolved in
# the program's working folder.
(cd "$work" && PATH=/check/standin:$PATH xdg-open "$work/MgFeCrAl100_1.grf") || echo "xdg-open failed"
for i in $(seq 50); do [ -f /check/standin/called ] && break; sleep 0.1; done
echo "the open started: $(tr '\n' ' ' </check/standin/called 2>/dev/null || echo nothing)"
EOF
in_root sh /check/mime.sh | tee "$scratch/mime.log"
grep -q '^filetype .grf: application/x-qarvelion-grf$' "$scratch/mime.log" || fail "the .grf type"
grep -q '^filetype .dor: application/x-qarvelion-dor$' "$scratch/mime.log" || fail "the .dor type"
if [ -e "$root/usr/share/applications/qarvelion-grapher.desktop" ]; then
  grep -q '^default for application/x-qarvelion-grf: qarvelion-grapher.desktop$' "$scratch/mime.log" ||
    fail "the default application for .grf"
  grep -q 'the open started: /check/mimehome/Qarvelion /check/mimehome/Qarvelion/MgFeCrAl100_1.grf' \
    "$scratch/mime.log" || fail "the desktop's open of a template did not start the diagram viewer"
else
  echo "this package has no diagram viewer: its association is not checked"
fi

step "Removing the package"
in_root apt-get remove -y -q qarvelion >>"$scratch/apt.log" 2>&1 || fail "apt-get remove"
[ ! -e "$root/usr/lib/qarvelion/qarvelion" ] || fail "the program is left after removal"

size=$(stat -c %s "$deb")
installed=$(dpkg-deb -f "$deb" Installed-Size)
echo
echo "check-package: OK: $debname ($size bytes, $installed KiB installed)," \
  "apt-get install ${install_seconds}s, whole check $(($(date +%s) - start))s"
