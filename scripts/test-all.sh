#!/usr/bin/env bash
# Sets everything up and runs every test: the normal build, its Debian packages (installed,
# used and purged again), the AddressSanitizer+UBSan build, the ThreadSanitizer build and a
# bounded fuzz run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc)

build_and_test() {  # name, extra cmake arguments...
  local dir="build/$1"; shift
  cmake -S . -B "$dir" -G Ninja -DCHROMIVA_WERROR=ON "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

echo "== release build"
build_and_test release -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr
echo "== Debian packages: build, lintian, install, use as a user, purge"
scripts/package.sh
scripts/check-packages.sh
echo "== address and undefined-behaviour sanitizers"
build_and_test asan -DCMAKE_BUILD_TYPE=Debug -DCHROMIVA_SANITIZER=address \
  -DCHROMIVA_BUILD_BENCH=OFF -DCHROMIVA_BUILD_UI=OFF -DCHROMIVA_BUILD_PYTHON=OFF
echo "== thread sanitizer"
build_and_test tsan -DCMAKE_BUILD_TYPE=Debug -DCHROMIVA_SANITIZER=thread \
  -DCHROMIVA_BUILD_BENCH=OFF -DCHROMIVA_BUILD_UI=OFF -DCHROMIVA_UMOCKDEV_TESTS=OFF \
  -DCHROMIVA_BUILD_PYTHON=OFF
if [ -x scripts/fuzz.sh ]; then
  echo "== bounded fuzz run"
  scripts/fuzz.sh 60
fi
echo "All test stages passed."
