#!/usr/bin/env bash
# Builds the window and saves a PNG of the welcome state and of each mode into docs/, drawn by
# Qt's offscreen platform, so no display is needed. The drives and recorders the pictures show are
# those of VELMORA_DRIVES and VELMORA_RECORDERS, when the caller sets them.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build/release"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMORA_TESTS=OFF >/dev/null
cmake --build "$build" --target orvane-screenshots
mkdir -p "$root/docs"
VELMORA_CONF=/dev/null QT_QPA_PLATFORM=offscreen "$build/bin/orvane-screenshots" "$root/docs" "$@"
echo "Pictures written to $root/docs"
