#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds Kuvell from scratch, without the tests, and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh run
bash scripts/build.sh build-run -DBUILD_TESTING=OFF
exec build-run/frontends/qt/kuvell
