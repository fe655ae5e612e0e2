#!/usr/bin/env bash
# Installs what is missing, checks the format, builds and runs every test: the whole suite under AddressSanitizer and
# UndefinedBehaviorSanitizer, the fuzzers for a bounded time, the ThreadSanitizer build of the window's run tests,
# the close tests under valgrind, the whole suite once more as built for use, then the Debian package: checked by
# lintian, installed, tried and removed. Warnings are errors. Each stage's time is printed at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
tempos=()
etapa() {  # NAME COMMAND...
    local nome=$1 inicio=$SECONDS rc=0
    shift
    "$@" || rc=$?
    tempos+=("$(printf '%-34s %5d s%s' "$nome" $((SECONDS - inicio)) "$( ((rc == 0)) || echo " (falhou: $rc)")")")
    return "$rc"
}
# On success or failure alike: what took how long.
trap 'printf "\nTempos das etapas:\n"; printf "  %s\n" "${tempos[@]}"; printf "  %-34s %5d s\n" total "$SECONDS"' EXIT
etapa "dependências (apt)" bash scripts/install-deps.sh
etapa "formato (clang-format)" bash scripts/formato.sh
etapa "compilação (build/)" bash scripts/build.sh -DZORLA_BUILD_TESTS=ON -DZORLA_BUILD_UI=ON -DZORLA_WERROR=ON
etapa "ASan+UBSan: compilação e testes" bash scripts/asan.sh
etapa "fuzzers" bash scripts/fuzz.sh "${FUZZ_SECONDS:-30}"
etapa "ThreadSanitizer" bash scripts/tsan.sh
etapa "valgrind" bash scripts/leaks.sh
export QT_QPA_PLATFORM=offscreen
etapa "testes (build/)" ctest --test-dir build --output-on-failure -j2 --timeout 600 </dev/null
etapa "pacote" bash scripts/package-test.sh
etapa "Windows: MinGW, Wine, instalador" bash scripts/windows.sh
