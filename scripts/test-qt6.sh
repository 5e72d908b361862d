#!/bin/sh
# Builds the programs and the tests with Qt 6 into ./build-qt6 (or $BUILD_DIR) and runs the Qt Test suites under
# CTest, offscreen. Needs the packages of `scripts/install-deps.sh --qt6`.
set -e
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build-qt6}
# The benchmarks do not depend on the Qt version: left out, and their build time with them.
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVEL3_QT=6 -DCORVEL3_BUILD_BENCH=OFF
cmake --build "$BUILD_DIR" -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$BUILD_DIR" --output-on-failure -j 2 --timeout 900
