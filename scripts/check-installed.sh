#!/usr/bin/env bash
# Checks an installed copy of the program under PREFIX (a `cmake --install`
# prefix, or the usr folder of an unpacked Debian package): the files are in
# place, rahmen-batch answers --help, and the program starts in Qt's
# offscreen mode without RAHMEN_HELP_DIR, makes its working folder in an
# empty home folder with the example files, and opens its installed help
# pages at a keyword. Usage: scripts/check-installed.sh PREFIX
set -euo pipefail
prefix=$(realpath "${1:?usage: check-installed.sh PREFIX}")
fail() { echo "check-installed: $*" >&2; exit 1; }

for f in bin/rahmen bin/rahmen-batch share/rahmen/help/index.html share/rahmen/help/rahmen.html \
  share/rahmen/examples/two_storey.fdt share/applications/rahmen.desktop \
  share/icons/hicolor/scalable/apps/rahmen.svg share/man/man1/rahmen.1.gz \
  share/man/man1/rahmen-batch.1.gz; do
  [ -e "$prefix/$f" ] || fail "missing $f"
done
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/rahmen.desktop" || fail "desktop entry invalid"
fi
grep -q '^Categories=Science;Engineering;$' "$prefix/share/applications/rahmen.desktop" ||
  fail "desktop entry without its categories"
grep -q '^Name\[ja\]=' "$prefix/share/applications/rahmen.desktop" ||
  fail "desktop entry without a Japanese name"
for page in rahmen rahmen-batch; do
  zcat "$prefix/share/man/man1/$page.1.gz" | grep -q "^\.TH" || fail "$page.1.gz is no man page"
done
"$prefix/bin/rahmen-batch" --help 2>&1 | grep -q -- "--reanalyse" || fail "rahmen-batch --help"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -m 700 "$scratch/runtime" "$scratch/home"
keyword=座標入力
# Started as the desktop's menu starts it: the entry's command, found on the
# PATH, in the home folder.
command=$(sed -n 's/^Exec=//p' "$prefix/share/applications/rahmen.desktop")
[ "$command" = rahmen ] || fail "desktop entry starts '$command'"
(cd "$scratch/home" && env -u RAHMEN_HELP_DIR -u RAHMEN_WORKDIR HOME="$scratch/home" \
  PATH="$prefix/bin:$PATH" XDG_RUNTIME_DIR="$scratch/runtime" QT_QPA_PLATFORM=offscreen \
  RAHMEN_SCREENSHOT="$scratch/shot/menu.png" RAHMEN_SCREENSHOT_HELP="$keyword" \
  timeout 60 "$command" >"$scratch/out.txt" 2>&1) ||
  { cat "$scratch/out.txt" >&2; fail "the installed program did not start and end cleanly"; }
grep -qxF "rahmen: help $prefix/share/rahmen/help#$keyword" "$scratch/out.txt" ||
  { cat "$scratch/out.txt" >&2; fail "help not opened from $prefix/share/rahmen/help at $keyword"; }
[ -s "$scratch/shot/menu.png" ] && [ -s "$scratch/shot/menu-HelpViewer.png" ] ||
  fail "no pictures of the main menu and the help viewer"
examples=$(ls "$scratch/home/rahmen-data" | wc -l)
[ "$examples" -eq "$(ls "$prefix/share/rahmen/examples" | wc -l)" ] ||
  fail "the working folder got $examples example files"
echo "check-installed: $prefix is complete; help opened at $keyword, $examples example files copied"
