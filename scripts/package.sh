#!/usr/bin/env bash
# Builds the release configuration in build/release (installing into /usr) and makes the
# Debian packages from it with CPack: build/packages/*.deb (chromiva, libwrenlink1,
# libwrenlink-dev, and python3-chromiva when the Python module is built).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCHROMIVA_WERROR=ON -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build build/release -j "$(nproc)"
mkdir -p build/packages
rm -f build/packages/*.deb build/release/cpack/*.deb
cpack --config build/release/CPackConfig.cmake -B build/release/cpack >/dev/null
mv build/release/cpack/*.deb build/packages/
ls -1 build/packages/*.deb
