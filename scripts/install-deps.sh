#!/bin/sh
# Installs the Debian packages needed to build, run and test the tool. Run as root.
set -e
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends \
  build-essential cmake ninja-build pkg-config \
  qtbase5-dev qtbase5-dev-tools libqt5network5 libqt5test5 qttools5-dev qttools5-dev-tools qttranslations5-l10n \
  libblkid-dev fonts-bebas-neue unar zip unzip python3 curl \
  xvfb xauth libgl1 \
  dosfstools fusefat e2fsprogs util-linux attr libfiu-dev fiu-utils \
  libbenchmark-dev libtag1-dev clang libclang-rt-14-dev \
  g++-mingw-w64-x86-64 appstream desktop-file-utils dpkg-dev xdotool x11-apps netpbm libssl-dev
