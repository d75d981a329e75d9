#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds and runs every test: the repository's house rules; a warnings-as-errors
# gcc build, whose Debian package is then built and checked (lintian included);
# the headless build of kuvell-ifstat; then a clang build with AddressSanitizer
# and UndefinedBehaviorSanitizer that also fuzzes the interface-table parser for
# a bounded time; last the Windows build of the Qt-free part, cross-compiled
# with mingw-w64, whose tests run under wine64.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
# Everything this run starts carries the mark; at the end none of it may still run.
source tests/e2e/marked_processes.sh
export KUVELL_TEST_RUN="$$-$SRANDOM"

echo "== formatting, licence lines, system boundary =="
bash scripts/check-tree.sh

echo "== gcc, warnings as errors =="
bash scripts/build.sh build -DKUVELL_WERROR=ON
ctest --test-dir build --output-on-failure -j 2

echo "== Debian package =="
rm -rf build/package
(cd build && cpack -B package)
bash tests/e2e/check_package.sh build/package/kuvell_*.deb

echo "== headless build: kuvell-ifstat alone, without Qt, GoogleTest or Google Benchmark =="
bash scripts/build.sh build-headless -DKUVELL_WERROR=ON -DKUVELL_GUI=OFF -DBUILD_TESTING=OFF \
  -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=TRUE -DCMAKE_DISABLE_FIND_PACKAGE_GTest=TRUE \
  -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=TRUE
[ "$(find build-headless -type f -executable -name 'kuvell*' -printf '%f\n')" = kuvell-ifstat ] ||
  { echo "the headless build must yield kuvell-ifstat alone" >&2; exit 1; }
if ldd build-headless/tools/kuvell-ifstat | grep -i qt; then
  echo "the headless kuvell-ifstat links Qt" >&2; exit 1
fi
build-headless/tools/kuvell-ifstat >/dev/null

echo "== clang, AddressSanitizer + UndefinedBehaviorSanitizer =="
CC=clang CXX=clang++ bash scripts/build.sh build-asan -DKUVELL_WERROR=ON -DKUVELL_SANITIZE=ON \
  -DKUVELL_FUZZ=ON -DCMAKE_BUILD_TYPE=Debug
ctest --test-dir build-asan --output-on-failure -j 2 -E '_once$'

echo "== fuzzing the interface-table parser =="
bash scripts/fuzz.sh build-asan "${KUVELL_FUZZ_SECONDS:-60}"

echo "== Windows: mingw-w64 cross build, tests under wine64 =="
# --fresh configures anew but keeps the build folder's wine prefix, made once.
cmake --preset windows --fresh >/dev/null
cmake --build --preset windows
cmake --build --preset windows --target windows-packages
ctest --preset windows
# Nothing beyond Windows' own DLLs: the C++ runtime is linked in.
for exe in build-windows/tools/kuvell-ifstat.exe build-windows/frontends/win32/kuvell.exe \
  build-windows/tests/*.exe; do
  if x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ { print tolower($3) }' |
    grep -Ev '^(kernel32|msvcrt|advapi32|iphlpapi|user32|gdi32|shell32|comctl32|comdlg32|ws2_32|api-ms-win-.*)\.dll$'; then
    echo "$exe needs the DLLs above" >&2; exit 1
  fi
done

echo "== nothing left running =="
# wine's server lingers for a few seconds after its last program; end it now.
WINEPREFIX=$PWD/build-windows/wineprefix wineserver -k 2>/dev/null || true
for _ in $(seq 50); do
  marked_processes "KUVELL_TEST_RUN=$KUVELL_TEST_RUN"
  [ ${#MARKED[@]} -eq 0 ] && break
  sleep 0.2
done
if [ ${#MARKED[@]} -gt 0 ]; then
  echo "still running after the tests:" >&2
  ps -o pid=,args= -p "$(IFS=,; echo "${MARKED[*]}")" >&2 || true
  end_marked_processes "KUVELL_TEST_RUN=$KUVELL_TEST_RUN" || true
  exit 1
fi
echo "no process of this run is left"
