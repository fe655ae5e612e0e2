#!/usr/bin/env bash
# Closing the window during a run and during a consult, under valgrind: no invalid access, nothing lost.
set -euo pipefail
cd "$(dirname "$0")/.."
QT_QPA_PLATFORM=offscreen valgrind --quiet --error-exitcode=1 --leak-check=full --show-leak-kinds=definite \
    --errors-for-leak-kinds=definite build/tests/ui_tests --gtest_filter='*Closing*'
