#!/usr/bin/env bash
# Builds the fuzz targets with clang in their own build directory and runs
# each for SECONDS (default 60). Fails on any crash, leak, sanitizer report,
# time-out (a hang) or memory blow-up. Findings land in $BUILD/artifacts.
#   scripts/fuzz.sh [SECONDS]        FUZZ_BUILD_DIR overrides build-fuzz
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=${FUZZ_BUILD_DIR:-build-fuzz}
jobs=${FUZZ_JOBS:-2}

cmake -S tests/fuzz -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" --target LoadDocumentFuzzer PasteObjectsFuzzer MetafileFuzzer SeedCorpus -- -j"$jobs"

seeds="$build/seeds"
rm -rf "$seeds"
# The generator is no subject of the checks: it exits with Qt still up.
QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 "$build/bin/SeedCorpus" "$seeds"
mkdir -p "$build/artifacts"

export QT_QPA_PLATFORM=offscreen
# libFuzzer checks for leaks input by input; the font library's own
# process-lifetime allocations are suppressed.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/fuzz/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

run() {
  local target=$1 seed_dir=$2 dict=$3
  local corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  echo "fuzz: $target for ${seconds}s"
  # -timeout: one input taking 10 s is a hang; -rss_limit_mb/-malloc_limit_mb:
  # inputs are at most 64 KiB, so needing hundreds of MiB is out of proportion.
  "$build/bin/$target" "$corpus" "$seed_dir" \
    -dict="$dict" -max_total_time="$seconds" -max_len=65536 \
    -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=256 \
    -error_exitcode=77 -timeout_exitcode=78 \
    -artifact_prefix="$build/artifacts/$target-" -print_final_stats=1
}

run LoadDocumentFuzzer "$seeds/document" tests/fuzz/kvf.dict
run PasteObjectsFuzzer "$seeds/paste" tests/fuzz/kvf.dict
run MetafileFuzzer "$seeds/metafile" tests/fuzz/metafile.dict
echo "fuzz: no findings"
