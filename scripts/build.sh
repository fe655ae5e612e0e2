#!/usr/bin/env bash
# Configures and builds into build/ (or $BUILD_DIR), two jobs at a time, with the distribution's hardening flags:
# this tree is the one the tests run and the package is made from.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
flags=()
if command -v dpkg-buildflags >/dev/null; then
    export DEB_BUILD_MAINT_OPTIONS=hardening=+all
    flags=(-DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
        -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)")
fi
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" "${flags[@]}" "$@" >/dev/null
cmake --build "$build_dir" -j2 ${BUILD_TARGETS:+--target $BUILD_TARGETS}
