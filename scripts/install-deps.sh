#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the demo and the tests need (run as root).
set -euo pipefail

packages=(
    cmake g++ make pkg-config valgrind clang clang-format libclang-rt-14-dev libcli11-dev
    libgtest-dev
    qt6-base-dev qt6-translations-l10n
    firebird-dev libfbclient2 firebird3.0-server-core firebird3.0-utils firebird3.0-server
    xvfb xauth x11-apps imagemagick xdotool fonts-dejavu-core openbox
    dpkg-dev lintian
    g++-mingw-w64-x86-64-posix wine64 nsis googletest groff-base
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    # The server package must not start a system-wide server: the tests start their own on loopback.
    if [ ! -e /usr/sbin/policy-rc.d ]; then
        printf '#!/bin/sh\nexit 101\n' >/usr/sbin/policy-rc.d
        chmod +x /usr/sbin/policy-rc.d
        trap 'rm -f /usr/sbin/policy-rc.d' EXIT
    fi
    apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
fi
