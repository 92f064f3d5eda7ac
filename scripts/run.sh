#!/usr/bin/env bash
# Builds the program (Release, in build/release or $RAHMEN_BUILD_DIR) and
# starts it in a working folder: $RAHMEN_WORKDIR, or ~/rahmen-data. On first
# use the folder is created and gets the example data files of examples/, so
# that the menu's file buttons can be used at once. Arguments are passed to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
./scripts/install-deps.sh

build=$(realpath -m "${RAHMEN_BUILD_DIR:-build/release}")
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)" --target rahmen

workdir=${RAHMEN_WORKDIR:-$HOME/rahmen-data}
if [ ! -d "$workdir" ]; then
  mkdir -p "$workdir"
  shopt -s nullglob
  for f in "$root"/examples/*; do
    if [ -f "$f" ]; then cp -n "$f" "$workdir/"; fi
  done
  echo "Working folder $workdir created with the example data files."
fi

export RAHMEN_HELP_DIR="$root/help"
cd "$workdir"
exec "$build/src/gui/rahmen" "$@"
