#!/bin/sh
# Configures and builds into ./build (or $BUILD_DIR): everything, or the targets named.
#   scripts/build.sh [target...]      e.g. scripts/build.sh programs
set -e
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
if [ $# -gt 0 ]; then
  for target in "$@"; do
    cmake --build "$BUILD_DIR" -j "$(nproc)" --target "$target"
  done
else
  cmake --build "$BUILD_DIR" -j "$(nproc)"
fi
