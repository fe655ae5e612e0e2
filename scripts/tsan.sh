#!/usr/bin/env bash
# Builds with ThreadSanitizer and runs the tests where the window and the export worker meet.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${TSAN_BUILD_DIR:-build-tsan}
# A room's files a few at a time as one (CMake's unity build), as in the clang tree.
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORLA_SANITIZE=thread -DCMAKE_UNITY_BUILD=ON >/dev/null
cmake --build "$build_dir" -j2 --target ui_tests export_tests
export QT_QPA_PLATFORM=offscreen
# No lock-order detector: the embedded engine releases locks on other threads than those that took them, so a pool
# thread that attaches again and again seems to hold more and more of them, and the detector aborts past 64.
export TSAN_OPTIONS="halt_on_error=1 detect_deadlocks=0 suppressions=$PWD/scripts/tsan.supp"
# Now and then GCC 12's ThreadSanitizer cannot map its shadow for a mapping this kernel placed ("failed to allocate")
# and stops the program: such a run proves nothing either way and is run again, up to three times. A run that
# reports a race, or fails in any other way, is never run again.
roda() {
    local log tentativa
    log=$(mktemp)
    for tentativa in 1 2 3; do
        if "$@" >"$log" 2>&1; then
            cat "$log"
            rm -f "$log"
            return 0
        fi
        cat "$log"
        grep -q "ThreadSanitizer failed to allocate" "$log" && ! grep -q "WARNING: ThreadSanitizer" "$log" || break
        [ "$tentativa" -lt 3 ] && echo "tsan.sh: o ThreadSanitizer não conseguiu mapear sua memória; de novo" >&2
    done
    rm -f "$log"
    return 1
}
roda "$build_dir/tests/export_tests" --gtest_filter='Run.*'
roda "$build_dir/tests/ui_tests" --gtest_filter='*Export*:*Cancel*:*Closing*:*Consult*:Host.*'
