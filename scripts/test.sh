#!/usr/bin/env bash
# Builds and runs every test: the release build with the GUI tests, the same
# suites under AddressSanitizer and UndefinedBehaviorSanitizer, and a short
# libFuzzer run of every file reader.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
./scripts/install-deps.sh

jobs=$(nproc)
# Every build goes through ccache (installed by install-deps.sh), so that a
# second run, or a fresh clone on the same machine, compiles only what changed.
cache=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fuzz_seconds=${RAHMEN_FUZZ_SECONDS:-60}

echo "== release build and tests"
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DRAHMEN_NATIVE=ON "${cache[@]}" >/dev/null
cmake --build build/release -j "$jobs"
(cd build/release && ctest --output-on-failure -j "$jobs")

echo "== GUI tests, five runs in a row"
# A GUI test that fails only now and then stops every run that meets it; the
# GUI suites run again several times in a row so that such a test shows
# itself here rather than on a fresh machine.
(cd build/release && ctest --output-on-failure -L gui --repeat until-fail:5)

echo "== verification manual"
# docs/verification.md is written again from the verification cases by the
# release build; a manual that no longer shows what the program computes
# fails the run (the regenerated one is left in docs/ to be committed).
cp docs/verification.md build/release/verification.md.committed
RAHMEN_VERIFICATION_MANUAL="$root/docs/verification.md" \
  build/release/tests/test_analysis --gtest_filter='Verification.*' >/dev/null
diff -u build/release/verification.md.committed docs/verification.md

echo "== Debian package"
# Built for any x86-64 processor (no RAHMEN_NATIVE), then unpacked and checked
# like an installed copy.
cmake -S . -B build/package -G Ninja -DCMAKE_BUILD_TYPE=Release -DRAHMEN_NATIVE=OFF "${cache[@]}" \
  -DRAHMEN_TESTS=OFF -DRAHMEN_BENCH=OFF >/dev/null
cmake --build build/package -j "$jobs"
rm -f build/package/rahmen_*.deb
(cd build/package && cpack -G DEB >/dev/null)
deb=$(echo build/package/rahmen_*.deb)
dpkg-deb -c "$deb"
unpacked=$(mktemp -d)
dpkg-deb -x "$deb" "$unpacked"
./scripts/check-installed.sh "$unpacked/usr"
rm -rf "$unpacked"

echo "== sanitizer build and tests"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DRAHMEN_SANITIZE=ON -DRAHMEN_GUI=OFF "${cache[@]}" \
  -DRAHMEN_BENCH=OFF -DCMAKE_CXX_FLAGS="-O1" >/dev/null
cmake --build build/asan -j "$jobs"
(cd build/asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j "$jobs" -LE gui)

echo "== fuzzing (${fuzz_seconds}s per reader)"
cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ "${cache[@]}" \
  -DRAHMEN_FUZZ=ON -DRAHMEN_GUI=OFF -DRAHMEN_TESTS=OFF -DRAHMEN_BENCH=OFF >/dev/null
cmake --build build/fuzz -j "$jobs"
# The corpus lives outside the checkout, so that every run on this machine
# starts from what the earlier runs found (a fresh clone or a cleaned build
# folder keeps it).
corpus_root=${RAHMEN_FUZZ_CORPUS:-${XDG_CACHE_HOME:-$HOME/.cache}/rahmen/fuzz-corpus}
shopt -s nullglob
for fuzzer in build/fuzz/tests/fuzz/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  name=$(basename "$fuzzer")
  corpus="$corpus_root/$name"
  mkdir -p "$corpus"
  seeds=("$root/tests/fuzz/seeds/$name")
  [ -d "${seeds[0]}" ] || seeds=()
  # The hostile files of the reader tests start every reader's run too.
  seeds+=("$root/tests/fixtures/hostile")
  # The corpus of runs made before it moved out of the build folder.
  [ -d "build/fuzz/corpus/$name" ] && seeds+=("build/fuzz/corpus/$name")
  before=$(find "$corpus" -type f | wc -l)
  "$fuzzer" -max_total_time="$fuzz_seconds" -max_len=65536 -print_final_stats=1 \
    "$corpus" "${seeds[@]}" 2>build/fuzz/$name.log || { tail -50 build/fuzz/$name.log; exit 1; }
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' build/fuzz/$name.log)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' build/fuzz/$name.log)
  after=$(find "$corpus" -type f | wc -l)
  echo "-- $name: ${runs:-?} inputs in ${fuzz_seconds} s (${rate:-?} per second), corpus $before -> $after files in $corpus"
done
echo "All tests passed."
