#!/usr/bin/env bash
# Sets up everything on a fresh Debian 12 machine, builds, and runs every test
# (the GUI tests start their own Xvfb).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
cd build
ctest --output-on-failure -j "$(nproc)" --timeout 600
