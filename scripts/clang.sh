#!/usr/bin/env bash
# Configures the clang tree (build-asan/, or $ASAN_BUILD_DIR) and builds the targets given, all when none: every
# file built once with AddressSanitizer, UndefinedBehaviorSanitizer and libFuzzer's instrumentation, so that the
# suite under the sanitizers and the fuzzers share one build. A room's files are compiled a few at a time as one
# (CMake's unity build): the tree that finds missing includes is build/, compiled file by file.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${ASAN_BUILD_DIR:-build-asan}
CC=clang CXX=clang++ cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORLA_SANITIZE=address \
    -DZORLA_FUZZ=ON -DZORLA_WERROR=ON -DZORLA_BUILD_TESTS=ON -DZORLA_BUILD_UI=ON -DCMAKE_UNITY_BUILD=ON >/dev/null
cmake --build "$build_dir" -j2 ${1:+--target "$@"}
