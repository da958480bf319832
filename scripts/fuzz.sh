#!/usr/bin/env bash
# Builds the data file fuzz target with clang, libFuzzer, AddressSanitizer and UBSan in
# build/fuzz and runs it for the given number of seconds (default 60), starting from the seed
# corpus in fuzz/corpus. Exits non-zero when the fuzzer finds a crash, leak or hang; the input
# that caused it is left in build/fuzz/ (crash-*, leak-*, timeout-*).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
dir=build/fuzz
work=fuzz-corpus-work/data_file

CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCHROMIVA_WERROR=ON \
  -DCHROMIVA_FUZZ=ON -DCHROMIVA_SANITIZER=address -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link \
  -DCHROMIVA_BUILD_TESTS=OFF -DCHROMIVA_BUILD_BENCH=OFF -DCHROMIVA_BUILD_UI=OFF \
  -DCHROMIVA_UMOCKDEV_TESTS=OFF >/dev/null
cmake --build "$dir" --target chromiva_fuzz_data_file -j "$(nproc)"

mkdir -p "$work"
"$dir/fuzz/chromiva_fuzz_data_file" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -max_len=16384 -print_final_stats=1 -artifact_prefix="$dir/" "$work" fuzz/corpus
