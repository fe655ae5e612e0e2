#!/usr/bin/env bash
# Builds with ThreadSanitizer and runs the tests where the window and the export worker meet.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${TSAN_BUILD_DIR:-build-tsan}
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORLA_SANITIZE=thread >/dev/null
cmake --build "$build_dir" -j2 --target ui_tests export_tests
export QT_QPA_PLATFORM=offscreen
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/scripts/tsan.supp"
"$build_dir/tests/export_tests" --gtest_filter='Run.*'
"$build_dir/tests/ui_tests" --gtest_filter='*Export*:*Cancel*:*Closing*:*Consult*:Host.*'
