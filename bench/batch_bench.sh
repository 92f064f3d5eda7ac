#!/usr/bin/env bash
# Times rahmen-batch on the analysis benchmark's grid frame, written as data
# files by the command itself, once with its nodes numbered floor by floor and
# once with the same nodes numbered at random (fixed seed):
#
#   bench/batch_bench.sh [BX BY STOREYS [RUNS [SEED]]]      default 10 10 8 9 17
#
# The command is $RAHMEN_BATCH, else build/release/src/batch/rahmen-batch
# (build it with `cmake --build build/release --target rahmen-batch`). Each run
# reads the frame and the loads, analyses (steel, κ = 1) and writes the report
# in a temporary folder; the median and the best of the runs are shown per
# phase (as the command reports them with --timings: reading, the analysis and
# inside it numbering, assembly, decomposition, substitution and end forces,
# writing; and the process's start and exit, the wall clock less the command's
# own time), for the whole command and for its processor time (user and system, all threads), which says more than
# the wall clock on a machine shared with other work. (bench_analysis compares
# the results of the two numberings.) After that, the whole command with the
# band solver forced against the sparse solver forced (RAHMEN_SOLVER), for
# both numberings, the four taking turns in the same way.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
batch=$(realpath -m "${RAHMEN_BATCH:-$here/build/release/src/batch/rahmen-batch}")
bx=${1:-10} by=${2:-10} storeys=${3:-8} runs=${4:-9} seed=${5:-17}

if [[ ! -x $batch ]]; then
  echo "batch_bench.sh: $batch not found; set RAHMEN_BATCH or build rahmen-batch" >&2
  exit 2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

"$batch" --generate-grid "$bx" "$by" "$storeys" natural
"$batch" --generate-grid "$bx" "$by" "$storeys" shuffled --shuffle-nodes "$seed"
echo "grid $bx x $by bays, $storeys storeys: $(du -k natural.fdt | cut -f1) kB frame file," \
  "$(du -k natural_loads.adt | cut -f1) kB loads file; $runs runs, median and best (ms)"

summary() {
  awk '$1 ~ /-ms$/ { v[$1] = v[$1] " " $2; if (!($1 in seen)) { seen[$1] = 1; order[++k] = $1 } }
       END {
         for (i = 1; i <= k; i++) {
           n = split(substr(v[order[i]], 2), a, " ")
           for (x = 1; x <= n; x++) for (y = x + 1; y <= n; y++) if (a[y] < a[x]) { t = a[x]; a[x] = a[y]; a[y] = t }
           printf "  %-18s %9.2f %9.2f\n", substr(order[i], 1, length(order[i]) - 3), a[int(n / 2) + 1], a[1]
         }
       }' "$1"
}

median_of() {
  awk -v key="$2" '$1 == key { a[++n] = $2 }
    END { for (x = 1; x <= n; x++) for (y = x + 1; y <= n; y++) if (a[y] < a[x]) { t = a[x]; a[x] = a[y]; a[y] = t }
          print a[int(n / 2) + 1] }' "$1"
}

TIMEFORMAT='cpu-ms %U %S'
: >natural.times
: >shuffled.times
# The two numberings take turns, so that both see the same load of the machine.
for ((run = 1; run <= runs; run++)); do
  for name in natural shuffled; do
    rm -f "$name-report.adt"
    start=$(date +%s%N)
    { time "$batch" "$name.fdt" --loads "${name}_loads.adt" --kappa 1 --out "$name-report" \
      --timings >timings.txt; } 2>cpu.txt
    end=$(date +%s%N)
    cat timings.txt >>"$name.times"
    whole="$(((end - start) / 1000000)).$(printf %06d $(((end - start) % 1000000)))"
    echo "whole-command-ms $whole" >>"$name.times"
    # Process start (loading the libraries, their initialisation) and exit:
    # the wall clock less the command's own time from runBatch on.
    awk -v whole="$whole" '$1 == "command-ms" { printf "start-and-exit-ms %.3f\n", whole - $2 }' \
      timings.txt >>"$name.times"
    awk '{ printf "processor-ms %.1f\n", 1000 * ($2 + $3) }' cpu.txt >>"$name.times"
  done
done
for name in natural shuffled; do
  echo "$name numbering:"
  summary "$name.times"
done

ratio=$(awk -v a="$(median_of natural.times whole-command-ms)" \
  -v b="$(median_of shuffled.times whole-command-ms)" 'BEGIN { printf "%.2f", b / a }')
cpu_ratio=$(awk -v a="$(median_of natural.times processor-ms)" \
  -v b="$(median_of shuffled.times processor-ms)" 'BEGIN { printf "%.2f", b / a }')
echo "shuffled / natural: whole command $ratio, processor time $cpu_ratio (medians)"
echo "report: $(du -k natural-report.adt | cut -f1) kB"

# The solvers forced, in the same turns; each line the median and the best of
# the whole command, its processor time and its decomposition.
for solver in band sparse; do
  for name in natural shuffled; do : >"$name-$solver.times"; done
done
for ((run = 1; run <= runs; run++)); do
  for solver in band sparse; do
    for name in natural shuffled; do
      rm -f "$name-$solver.adt"
      start=$(date +%s%N)
      { time RAHMEN_SOLVER=$solver "$batch" "$name.fdt" --loads "${name}_loads.adt" --kappa 1 \
        --out "$name-$solver" --timings >timings.txt; } 2>cpu.txt
      end=$(date +%s%N)
      {
        echo "whole-command-ms $(((end - start) / 1000000)).$(printf %06d $(((end - start) % 1000000)))"
        awk '$1 == "cpu-ms" { printf "processor-ms %.1f\n", 1000 * ($2 + $3) }' cpu.txt
        grep '^decomposition-ms ' timings.txt
      } >>"$name-$solver.times"
    done
  done
done
echo "solver forced (RAHMEN_SOLVER), $runs runs, median and best (ms):"
printf "  %-9s %-7s %19s %19s %19s\n" numbering solver "whole command" "processor" "decomposition"
for name in natural shuffled; do
  for solver in band sparse; do
    printf "  %-9s %-7s" "$name" "$solver"
    for key in whole-command-ms processor-ms decomposition-ms; do
      awk -v key="$key" '$1 == key { a[++n] = $2 }
        END { for (x = 1; x <= n; x++) for (y = x + 1; y <= n; y++) if (a[y] < a[x]) { t = a[x]; a[x] = a[y]; a[y] = t }
              printf " %9.2f %9.2f", a[int(n / 2) + 1], a[1] }' "$name-$solver.times"
    done
    echo
  done
done
