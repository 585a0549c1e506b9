#!/usr/bin/env bash
# Sets up everything on a fresh Debian 12 machine and starts Tobiuo X with a sample text.
# Without a display, draws the sample with tobiuox-cli into a PNG instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
sample="$PWD/samples/sample.txt"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/src/app/tobiuox "$sample"
fi
out="$PWD/build/sample.png"
build/src/cli/tobiuox-cli render "$sample" --opened --scale 2 -o "$out"
echo "No display found (DISPLAY is not set), so the desktop program cannot open a window."
echo "Drew the sample text with tobiuox-cli instead: $out"
