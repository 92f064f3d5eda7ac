#!/usr/bin/env bash
# Builds the program (Release, build/release) and starts it in a working
# folder: $RAHMEN_WORKDIR, or ~/rahmen-data. On first use the folder is
# created and gets the example data files of examples/, so that the menu's
# file buttons can be used at once. Arguments are passed to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
./scripts/install-deps.sh

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j "$(nproc)" --target rahmen

workdir=${RAHMEN_WORKDIR:-$HOME/rahmen-data}
if [ ! -d "$workdir" ]; then
  mkdir -p "$workdir"
  shopt -s nullglob
  for f in "$root"/examples/*; do
    [ -f "$f" ] && cp -n "$f" "$workdir/"
  done
  echo "Working folder $workdir created with the example data files."
fi

export RAHMEN_HELP_DIR="$root/help"
cd "$workdir"
exec "$root/build/release/src/gui/rahmen" "$@"
