#!/usr/bin/env bash
# Builds Kuvell from scratch and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh build
exec build/monitor/kuvell
