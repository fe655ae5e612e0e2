#!/usr/bin/env bash
# Installs what is missing, then builds the Debian package (cpack -G DEB) from the tree the tests run in, build/ (or
# $BUILD_DIR), built with the distribution's hardening flags (scripts/build.sh), and checks it with lintian. Prints
# the package's path last.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
# What building and checking the package needs, on a machine that has nothing yet.
bash scripts/install-deps.sh >&2
BUILD_TARGETS="zorla-exporta zorla-exporta-cli pacote_documentos" bash scripts/build.sh -DZORLA_BUILD_UI=ON >&2
rm -f "$build_dir"/zorla-exporta_*.deb
(cd "$build_dir" && cpack -G DEB >/dev/null)
deb=$(ls "$build_dir"/zorla-exporta_*.deb)
# Any warning or error fails the build; the package carries the overrides it needs, each with its reason.
lintian --fail-on error,warning "$deb" >&2
echo "$deb"
