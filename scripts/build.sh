#!/usr/bin/env bash
# Configures and builds Quavero into ./build (Ninja, ccache when present).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${QUAVERO_BUILD_DIR:-build}
# Let ccache share results between checkouts of the project.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
if [ ! -f "$BUILD_DIR/build.ninja" ]; then
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$BUILD_DIR" --parallel "$(nproc)"
