#!/usr/bin/env bash
# Builds and runs every test: a warnings-as-errors gcc build, whose Debian
# package is then built and checked (lintian included), then a clang build
# with AddressSanitizer and UndefinedBehaviorSanitizer that also fuzzes the
# interface-table parser for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh

echo "== gcc, warnings as errors =="
bash scripts/build.sh build -DKUVELL_WERROR=ON
ctest --test-dir build --output-on-failure -j 2

echo "== Debian package =="
rm -rf build/package
(cd build && cpack -B package)
bash tests/e2e/check_package.sh build/package/kuvell_*.deb

echo "== clang, AddressSanitizer + UndefinedBehaviorSanitizer =="
CC=clang CXX=clang++ bash scripts/build.sh build-asan -DKUVELL_WERROR=ON -DKUVELL_SANITIZE=ON \
  -DKUVELL_FUZZ=ON -DCMAKE_BUILD_TYPE=Debug
ctest --test-dir build-asan --output-on-failure -j 2 -E '_once$'

echo "== fuzzing the interface-table parser =="
bash scripts/fuzz.sh build-asan "${KUVELL_FUZZ_SECONDS:-60}"
