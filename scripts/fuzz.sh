#!/usr/bin/env bash
# Builds the libFuzzer targets in the clang tree (scripts/clang.sh) and runs them at once, each for a bounded time
# over its seed corpus.
#   scripts/fuzz.sh [SECONDS]   (default 30 each)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${ASAN_BUILD_DIR:-build-asan}
seconds=${1:-30}
targets=(fuzz_conexao fuzz_parametros_nomeados fuzz_registros)
bash scripts/clang.sh "${targets[@]}"
# The three at once, each with its own output, shown in turn once all have ended; any that found a fault fails the
# stage.
falhas=0
pids=()
for t in "${targets[@]}"; do
    work=$build_dir/corpus/$t
    mkdir -p "$work"
    # New inputs go to a corpus of the build's own; the seeds in the repository stay as they are.
    "$build_dir/tests/fuzz/$t" -max_len=4096 -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$build_dir/$t-" "$work" "tests/fuzz/corpus/$t" >"$build_dir/$t.log" 2>&1 &
    pids+=($!)
done
for i in "${!targets[@]}"; do
    rc=0
    wait "${pids[$i]}" || rc=$?
    echo "--- ${targets[$i]} (${seconds} s)"
    tail -n 4 "$build_dir/${targets[$i]}.log"
    [ "$rc" -eq 0 ] || { echo "fuzz.sh: ${targets[$i]} terminou com $rc" >&2; falhas=1; }
done
exit "$falhas"
