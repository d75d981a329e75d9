#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# build.sh <build-dir> [cmake options...]: configures from scratch and builds.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1; shift
rm -rf "$dir"
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$dir" -j "$(nproc)"
