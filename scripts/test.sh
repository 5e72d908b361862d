#!/bin/sh
# Installs what is needed, builds, and runs every test: each fuzz target for a bounded time, then
# the Qt Test suites under CTest (offscreen; the mount tests run when root), then the Debian
# package's checks.
set -e
cd "$(dirname "$0")/.."
if [ "$(id -u)" = 0 ] && [ "${SKIP_INSTALL:-0}" != 1 ]; then
  sh scripts/install-deps.sh
fi
sh scripts/build.sh
sh scripts/check-windows.sh
BUILD_DIR=${BUILD_DIR:-build}
if [ "${SKIP_FUZZ:-0}" != 1 ]; then
  bash scripts/run-fuzz.sh "${FUZZ_SECONDS:-60}"
fi
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$BUILD_DIR" --output-on-failure -j 2 --timeout 900
# The Debian package: lintian, and an install that owns all it puts down (APT_CHECK=1: real
# apt install and remove).
if [ "${SKIP_PACKAGE:-0}" != 1 ]; then
  BUILD_DIR="$BUILD_DIR" sh scripts/check-package.sh
fi
