#!/usr/bin/env bash
# The help file lists every topic of the help, and every topic is reachable
# from the contents: in the compiled file's table of contents and as a link
# on its first page. Every link between the pages leads to a page (and an
# anchor) that exists.
# Usage: check_help_file.sh HELP_FILE.chm PAGES_FOLDER TOPICS_FILE
set -euo pipefail
chm=$1 pages=$2 topics=$3
failed=0
fail() { echo "FAIL: $*"; failed=1; }

mapfile -t files < <(grep -v '^#' "$topics" | grep -v '^$' | cut -f1)
[ ${#files[@]} -gt 1 ] || { echo "FAIL: no topics in $topics"; exit 1; }

# The pages as HTML: links and anchors.
for page in "$pages"/*.html; do
  name=$(basename "$page")
  grep -q -e '<!-- [a-z-]* -->' "$page" && fail "$name keeps a marker that was not filled"
  while read -r link; do
    target=${link%%#*} anchor=""
    [[ $link == *#* ]] && anchor=${link#*#}
    [ -z "$target" ] && target=$name
    [ -f "$pages/$target" ] || { fail "$name links to missing $target"; continue; }
    if [ -n "$anchor" ] && ! grep -q "id=\"$anchor\"" "$pages/$target"; then
      fail "$name links to missing anchor $target#$anchor"
    fi
  done < <(grep -o 'href="[^":]*"' "$page" | sed 's/^href="//; s/"$//' | grep -v '\.css$' || true)
done
for f in "${files[@]}"; do
  [ "$f" = index.html ] && continue
  grep -q "href=\"$f\"" "$pages/index.html" || fail "index.html has no link to $f"
done

# The compiled file.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if command -v extract_chmLib >/dev/null; then
  extract_chmLib "$chm" "$work/x" >/dev/null
  listing=$(cd "$work/x" && find . -type f | sed 's|^\./|/|')
  contents=$work/x/contents.hhc
elif command -v chmls >/dev/null; then
  listing=$(chmls -n list "$chm")
  (cd "$work" && chmls extract "$chm" /contents.hhc contents.hhc >/dev/null)
  contents=$work/contents.hhc
else
  echo "SKIP: neither extract_chmLib (libchm-bin) nor chmls (fp-utils) is installed"
  exit 77
fi
for f in "${files[@]}" style.css; do
  grep -qx "/$f" <<<"$listing" || fail "the help file lacks $f"
done
[ -f "$contents" ] || fail "the help file has no table of contents"
for f in "${files[@]}"; do
  grep -q "value=\"$f\"" "$contents" || fail "the table of contents lacks $f"
done
# The compiled pages are the pages made by the build.
if [ -d "$work/x" ]; then
  for f in "${files[@]}"; do
    cmp -s "$work/x/$f" "$pages/$f" || fail "$f in the help file differs from the page"
  done
fi
[ $failed -eq 0 ] && echo "the help file holds all ${#files[@]} topics"
exit $failed
