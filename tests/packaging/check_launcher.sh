#!/usr/bin/env bash
# The qarvelion launcher: it starts the program in the work folder, makes the
# folder (with the example) when missing, copies in the templates that are
# missing and never replaces a file already there.
# Usage: check_launcher.sh LAUNCHER
set -uo pipefail
launcher=$1
failed=0
fail() { echo "FAIL: $*"; failed=1; }

# An installed tree: prefix/bin/qarvelion, the application folder with a
# stand-in program that records where it runs and what it was given, two
# templates and the example.
make_tree() {
  local p=$1
  mkdir -p "$p/bin" "$p/lib/qarvelion/templates" "$p/share/qarvelion"
  cp "$launcher" "$p/bin/qarvelion"
  chmod +x "$p/bin/qarvelion"
  printf '#!/bin/sh\nprintf "%%s|%%s\\n" "$PWD" "$*" > "$RECORD"\n' >"$p/lib/qarvelion/qarvelion"
  chmod +x "$p/lib/qarvelion/qarvelion"
  echo installed-a >"$p/lib/qarvelion/templates/A.grf"
  echo installed-b >"$p/lib/qarvelion/templates/B.grf"
  echo example >"$p/share/qarvelion/example.dor"
}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Case: no work folder yet, reached through a link on PATH as a package's
# /usr/bin entry may be.
t=$scratch/fresh
make_tree "$t/usr"
mkdir -p "$t/home" "$t/path"
ln -s "$t/usr/bin/qarvelion" "$t/path/qarvelion"
(cd / && HOME=$t/home RECORD=$t/record PATH=$t/path:$PATH qarvelion one two) ||
  fail "fresh: the launcher failed"
[ "$(cat "$t/record" 2>/dev/null)" = "$t/home/Qarvelion|one two" ] ||
  fail "fresh: the program ran as '$(cat "$t/record" 2>/dev/null)'"
for f in A.grf B.grf example.dor; do
  [ -f "$t/home/Qarvelion/$f" ] || fail "fresh: $f was not put into the new work folder"
done

# Case: a work folder with a changed template and without the example: the
# change stays, the missing template comes, the example does not come back.
t=$scratch/existing
make_tree "$t/usr"
mkdir -p "$t/work"
echo mine >"$t/work/A.grf"
QARVELION_WORK_DIR=$t/work RECORD=$t/record "$t/usr/bin/qarvelion" ||
  fail "existing: the launcher failed"
[ "$(cat "$t/work/A.grf")" = mine ] || fail "existing: the user's A.grf was replaced"
[ "$(cat "$t/work/B.grf" 2>/dev/null)" = installed-b ] || fail "existing: B.grf was not copied"
[ ! -e "$t/work/example.dor" ] || fail "existing: the example was put into an existing folder"
[ "$(cut -d'|' -f1 "$t/record")" = "$t/work" ] || fail "existing: the program did not run in the work folder"

# Case: a dangling link in the work folder counts as the user's file.
t=$scratch/link
make_tree "$t/usr"
mkdir -p "$t/work"
ln -s "$t/nowhere" "$t/work/A.grf"
QARVELION_WORK_DIR=$t/work RECORD=$t/record "$t/usr/bin/qarvelion" || fail "link: the launcher failed"
[ -L "$t/work/A.grf" ] || fail "link: the user's link A.grf was replaced"

# Case: no templates installed (a build without them): the program still starts.
t=$scratch/bare
make_tree "$t/usr"
rm -r "$t/usr/lib/qarvelion/templates"
QARVELION_WORK_DIR=$t/work RECORD=$t/record "$t/usr/bin/qarvelion" || fail "bare: the launcher failed"
[ -f "$t/record" ] || fail "bare: the program did not start"

# Case: the program is missing: a message and a failure status, no work folder.
t=$scratch/missing
make_tree "$t/usr"
rm "$t/usr/lib/qarvelion/qarvelion"
message=$(QARVELION_WORK_DIR=$t/work RECORD=$t/record "$t/usr/bin/qarvelion" 2>&1) &&
  fail "missing: the launcher succeeded"
grep -q 'the program is missing' <<<"$message" || fail "missing: no message ('$message')"
[ ! -e "$t/work" ] || fail "missing: a work folder was made"

[ $failed -eq 0 ] && echo "the launcher keeps the work folder as documented"
exit $failed
