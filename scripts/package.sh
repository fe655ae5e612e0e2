#!/usr/bin/env bash
# Builds the Debian package (cpack -G DEB) in build-pkg/ with the distribution's hardening flags, and checks it with
# lintian. Prints the package's path last.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${PKG_BUILD_DIR:-build-pkg}
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DZORLA_BUILD_TESTS=OFF -DZORLA_BUILD_UI=ON \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$build_dir" -j2 --target zorla-exporta zorla-exporta-cli pacote_documentos >&2
(cd "$build_dir" && cpack -G DEB >/dev/null)
deb=$(ls "$build_dir"/zorla-exporta_*.deb)
# Any warning or error fails the build; the package carries the overrides it needs, each with its reason.
lintian --fail-on error,warning "$deb" >&2
echo "$deb"
