#!/usr/bin/env bash
# Checks an installed copy of the program under PREFIX (a `cmake --install`
# prefix, or the usr folder of an unpacked Debian package): the files are in
# place, the data files' types are valid and recognised (xmllint,
# update-mime-database and xdg-mime on a copy), rahmen-batch answers --help,
# and the program starts in Qt's
# offscreen mode without RAHMEN_HELP_DIR, makes its working folder in an
# empty home folder with the example files, and opens its installed help
# pages at a keyword. Usage: scripts/check-installed.sh PREFIX
set -euo pipefail
prefix=$(realpath "${1:?usage: check-installed.sh PREFIX}")
fail() { echo "check-installed: $*" >&2; exit 1; }

for f in bin/rahmen bin/rahmen-batch share/rahmen/help/index.html share/rahmen/help/rahmen.html \
  share/rahmen/examples/two_storey.fdt share/applications/rahmen.desktop \
  share/icons/hicolor/scalable/apps/rahmen.svg share/mime/packages/rahmen.xml \
  share/man/man1/rahmen.1.gz \
  share/man/man1/rahmen-batch.1.gz lib/rahmen/rahmen-batch-pdf.so; do
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
  # Read whole before matching: grep -q stops at the first match, and under
  # pipefail the writer's broken pipe would fail the check now and then.
  grep -q "^\.TH" <<<"$(zcat "$prefix/share/man/man1/$page.1.gz")" || fail "$page.1.gz is no man page"
done
# The data files' types: a valid description whose types the desktop entry
# opens, and a database built from it (in a copy of the prefix's share folder)
# that gives an example frame file, and the same bytes without their
# extension, the frame file's type.
xmllint --noout "$prefix/share/mime/packages/rahmen.xml" || fail "MIME description invalid"
for type in $(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$prefix/share/mime/packages/rahmen.xml"); do
  grep -q "^MimeType=.*$type;" "$prefix/share/applications/rahmen.desktop" ||
    fail "desktop entry does not open $type"
done
mime=$(mktemp -d)
mkdir -p "$mime/share/mime/packages"
cp "$prefix/share/mime/packages/rahmen.xml" "$mime/share/mime/packages/"
update-mime-database "$mime/share/mime" 2>/dev/null || fail "update-mime-database refused the description"
cp "$prefix/share/rahmen/examples/two_storey.fdt" "$mime/two_storey"
for file in "$prefix/share/rahmen/examples/two_storey.fdt" "$mime/two_storey"; do
  type=$(XDG_DATA_HOME="$mime/share" XDG_DATA_DIRS="$mime/share:/usr/share" \
    xdg-mime query filetype "$file")
  [ "$type" = application/x-rahmen-frame ] || fail "$file is of type '$type'"
done
rm -rf "$mime"
grep -q -- "--reanalyse" <<<"$("$prefix/bin/rahmen-batch" --help 2>&1)" || fail "rahmen-batch --help"
# rahmen-batch starts without Qt and finds its PDF renderer where it is installed.
! ldd "$prefix/bin/rahmen-batch" | grep -q libQt6 || fail "rahmen-batch links Qt"
pdf=$(mktemp -d)
(cd "$pdf" && env -u RAHMEN_BATCH_PDF_MODULE "$prefix/bin/rahmen-batch" \
  "$prefix/share/rahmen/examples/two_storey.fdt" \
  --case G="$prefix/share/rahmen/examples/two_storey.adt" --pdf --out p >out.txt 2>&1) ||
  { cat "$pdf/out.txt" >&2; fail "the installed rahmen-batch --pdf"; }
[ "$(head -c 5 "$pdf/p.pdf")" = "%PDF-" ] || fail "the installed rahmen-batch --pdf wrote no PDF"
rm -rf "$pdf"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -m 700 "$scratch/runtime" "$scratch/home"
keyword=座標入力
# Started as the desktop's menu starts it: the entry's command, found on the
# PATH, in the home folder.
exec_line=$(sed -n 's/^Exec=//p' "$prefix/share/applications/rahmen.desktop")
[ "$exec_line" = "rahmen %f" ] || fail "desktop entry starts '$exec_line'"
command=${exec_line% %f}
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
