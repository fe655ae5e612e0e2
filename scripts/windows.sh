#!/usr/bin/env bash
# The command line and the engine built for Windows with MinGW-w64 (build-win/), their unit tests and the program
# itself tried under Wine, then the installer made, installed silently, tried and removed. Wine keeps its own
# prefix in the build tree and is told not to offer Mono or Gecko.
set -euo pipefail
cd "$(dirname "$0")/.."
export WINEPREFIX=$PWD/build-win/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZORLA_BUILD_UI=OFF -DZORLA_BUILD_TESTS=ON -DZORLA_WERROR=ON -DCMAKE_UNITY_BUILD=ON >/dev/null
cmake --build build-win -j2
# A test that hangs fails in minutes, with what it printed, instead of holding the whole run.
ctest --test-dir build-win --output-on-failure --timeout 600 </dev/null
rm -f build-win/zorla-exporta-cli-*-win64.exe
(cd build-win && cpack -G NSIS >/dev/null)
bash tests/windows/instalador.sh /usr/lib/wine/wine64 build-win/zorla-exporta-cli-*-win64.exe </dev/null
