#!/bin/sh
# Installs the Debian packages needed to build, run and test the tool. Run as root.
#   scripts/install-deps.sh          Qt 5 (the default build), the test and packaging tools
#   scripts/install-deps.sh --qt6    the same, and Qt 6 for a build with -DCORVEL3_QT=6
set -e
export DEBIAN_FRONTEND=noninteractive

qt6_packages() {
  echo qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-tools-dev qt6-tools-dev-tools \
       qt6-l10n-tools qt6-translations-l10n libgl-dev
}

extra=""
for arg in "$@"; do
  case $arg in
    --qt6) extra=$(qt6_packages) ;;
    *) echo "install-deps: unknown option $arg" >&2; exit 2 ;;
  esac
done

apt-get update -q
apt-get install -y -q --no-install-recommends \
  build-essential cmake ninja-build pkg-config \
  qtbase5-dev qtbase5-dev-tools libqt5network5 libqt5test5 qttools5-dev qttools5-dev-tools qttranslations5-l10n \
  libblkid-dev fonts-bebas-neue unar zip unzip python3 curl \
  xvfb xauth libgl1 \
  dosfstools fusefat e2fsprogs util-linux attr libfiu-dev fiu-utils \
  libbenchmark-dev libtag1-dev clang libclang-rt-14-dev \
  g++-mingw-w64-x86-64 appstream desktop-file-utils dpkg-dev xdotool x11-apps netpbm libssl-dev \
  lintian man-db bash-completion $extra
