#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: the whole suite under AddressSanitizer and
# UndefinedBehaviorSanitizer, the fuzzers for a bounded time, the ThreadSanitizer build of the window's run tests,
# the close tests under valgrind, the whole suite once more as built for use, then the Debian package: checked by
# lintian, installed, tried and removed. Warnings are errors.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh -DZORLA_BUILD_TESTS=ON -DZORLA_BUILD_UI=ON -DZORLA_WERROR=ON
bash scripts/asan.sh
bash scripts/fuzz.sh "${FUZZ_SECONDS:-30}"
bash scripts/tsan.sh
bash scripts/leaks.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j2 </dev/null
bash scripts/package-test.sh
