#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time over its seed corpus.
#   scripts/fuzz.sh [SECONDS]   (default 30 each)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${FUZZ_BUILD_DIR:-build-fuzz}
seconds=${1:-30}
CC=clang CXX=clang++ cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORLA_FUZZ=ON \
    -DZORLA_BUILD_UI=OFF -DZORLA_BUILD_TESTS=OFF >/dev/null
targets=(fuzz_conexao fuzz_parametros_nomeados fuzz_registros)
cmake --build "$build_dir" -j2 --target "${targets[@]}"
for t in "${targets[@]}"; do
    work=$build_dir/corpus/$t
    mkdir -p "$work"
    echo "--- $t (${seconds} s)"
    # New inputs go to a corpus of the build's own; the seeds in the repository stay as they are.
    "$build_dir/tests/fuzz/$t" -max_len=4096 -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$build_dir/$t-" \
        "$work" "tests/fuzz/corpus/$t" 2>&1 | tail -n 4
done
