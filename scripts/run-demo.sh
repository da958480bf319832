#!/usr/bin/env bash
# Sets everything up and runs a measurement on simulated instruments.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/release -j "$(nproc)"
export WRENLINK_SIMULATOR="${WRENLINK_SIMULATOR:-spectrometer,spectrometer,led16,mirror}"
echo "Simulated instruments: $WRENLINK_SIMULATOR"
exec build/release/device_access/wrenlink-demo
