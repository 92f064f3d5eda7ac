#!/usr/bin/env bash
# Times rahmen-batch on the analysis benchmark's grid frame, written as data
# files by the command itself:
#
#   bench/batch_bench.sh [BX BY STOREYS [RUNS]]      default 10 10 8 5
#
# The command is $RAHMEN_BATCH, else build/release/src/batch/rahmen-batch
# (build it with `cmake --build build/release --target rahmen-batch`). Each run
# reads the frame and the loads, analyses (steel, κ = 1) and writes the report
# in a temporary folder; the median and the best of the runs are shown per
# phase (as the command reports them with --timings) and for the whole command.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
batch=$(realpath -m "${RAHMEN_BATCH:-$here/build/release/src/batch/rahmen-batch}")
bx=${1:-10} by=${2:-10} storeys=${3:-8} runs=${4:-5}

if [[ ! -x $batch ]]; then
  echo "batch_bench.sh: $batch not found; set RAHMEN_BATCH or build rahmen-batch" >&2
  exit 2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

"$batch" --generate-grid "$bx" "$by" "$storeys" grid
echo "grid $bx x $by bays, $storeys storeys: $(du -k grid.fdt | cut -f1) kB frame file," \
  "$(du -k grid_loads.adt | cut -f1) kB loads file"

: >times.txt
for ((run = 1; run <= runs; run++)); do
  rm -f report.adt
  start=$(date +%s%N)
  "$batch" grid.fdt --loads grid_loads.adt --kappa 1 --out report --timings >timings.txt
  end=$(date +%s%N)
  echo "whole-command-ms $(((end - start) / 1000000)).$(printf %06d $(((end - start) % 1000000)))" \
    >>timings.txt
  cat timings.txt >>times.txt
done

head -2 timings.txt | paste -sd' '
echo "report: $(du -k report.adt | cut -f1) kB; $runs runs, median and best (ms):"
awk '$1 ~ /-ms$/ { v[$1] = v[$1] " " $2; if (!($1 in seen)) { seen[$1] = 1; order[++k] = $1 } }
     END {
       for (i = 1; i <= k; i++) {
         n = split(substr(v[order[i]], 2), a, " ")
         for (x = 1; x <= n; x++) for (y = x + 1; y <= n; y++) if (a[y] < a[x]) { t = a[x]; a[x] = a[y]; a[y] = t }
         printf "  %-18s %9.2f %9.2f\n", substr(order[i], 1, length(order[i]) - 3), a[int(n / 2) + 1], a[1]
       }
     }' times.txt
