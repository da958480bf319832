#!/usr/bin/env bash
# Sets everything up and runs a measurement on simulated instruments: lists the instruments,
# records 20 passes of two simulated spectrometers, shows the data file and exports it as CSV.
# The files land in ./demo-output.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/release -j "$(nproc)" --target chromiva-cli
cli="$PWD/build/release/app/cli/chromiva-cli"
export WRENLINK_SIMULATOR="${WRENLINK_SIMULATOR:-spectrometer,spectrometer,led16,mirror}"
mkdir -p demo-output && cd demo-output
echo "== simulated instruments: $WRENLINK_SIMULATOR"
"$cli" devices
echo "== measuring 20 passes (Ctrl-C stops early and still saves)"
"$cli" measure --count 20 --exposure 50 -o run.cvdata
"$cli" info run.cvdata
"$cli" export run.cvdata -o run.csv
echo "== demo-output/run.cvdata and demo-output/run.csv written"
