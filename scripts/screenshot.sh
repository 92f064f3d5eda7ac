#!/usr/bin/env bash
# Starts the program under a virtual X server and saves PNG pictures of its
# windows: docs/main-menu.png (the main menu after start-up) and, beside it,
# one picture per further window, then the input forms of the table input
# over a small sample frame (form2.png ... form16.png). The program itself
# grabs its windows (RAHMEN_SCREENSHOT) and quits, so no window manager or
# external tool is needed. Usage: scripts/screenshot.sh [output.png]
# RAHMEN_SCREENSHOT_HELP=keyword also pictures the help viewer at that keyword.
# RAHMEN_SCREENSHOT_FORMS=FORM2,FORM7-1,... chooses the form pictures (a form
# name takes all pictures of that form; empty: none).
# RAHMEN_SCREENSHOT_PLOT=1 (the default; 0: none) then pictures the plotting
# window over the same frame (form13-1.png, form13-2.png, form13-0.png, and
# form13-3.png: the frame diagram after steps of its scroll bars, form13-5.png:
# the enlarged frame diagram with "荷重表示" on, form13-4.png:
# the mouse analysis with a loaded node and a loaded member, its status line
# whole) and saves each of its pictures as "図保存" does (form13-N-picture.png
# and .svg); last the editing window after a member split (form8-2.png) and
# its enlarged view (form8-3.png).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
./scripts/install-deps.sh

build=$(realpath -m "${RAHMEN_BUILD_DIR:-build/release}")
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)" --target rahmen

out=$(realpath -m "${1:-docs/main-menu.png}")
# An empty working folder, so that the picture shows the menu of a first start.
workdir=$(mktemp -d)
runtime=$(mktemp -d)
chmod 700 "$runtime"
trap 'rm -rf "$workdir" "$runtime"' EXIT

cd "$workdir"
forms=${RAHMEN_SCREENSHOT_FORMS-FORM2,FORM3,FORM4,FORM16,FORM5,FORM7,FORM6,FORM9,FORM10,FORM8}
XDG_RUNTIME_DIR="$runtime" RAHMEN_HELP_DIR="$root/help" RAHMEN_SCREENSHOT="$out" \
  RAHMEN_SCREENSHOT_FORMS="$forms" \
  RAHMEN_SCREENSHOT_PLOT="${RAHMEN_SCREENSHOT_PLOT-1}" \
  QT_QPA_PLATFORM=xcb timeout 60 \
  xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24 -dpi 96" \
  "$build/src/gui/rahmen"
echo "Screenshot: $out"
