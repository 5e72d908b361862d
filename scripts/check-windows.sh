#!/bin/sh
# Compiles every source of core/, the engines and the command-line tool, with the Windows platform file, for Windows with
# the mingw-w64 cross compiler (syntax only: Qt for Windows cannot be linked here, so the Linux
# Qt headers stand in, Q_OS_WIN coming from the compiler). A Windows-only compile error fails.
#   scripts/check-windows.sh        (needs g++-mingw-w64-x86-64 and qtbase5-dev)
set -e
cd "$(dirname "$0")/.."
CXX=${MINGW_CXX:-x86_64-w64-mingw32-g++}
if ! command -v "$CXX" > /dev/null; then
  echo "check-windows: $CXX not found (apt-get install g++-mingw-w64-x86-64)" >&2
  exit 1
fi
QT=$(qmake -query QT_INSTALL_HEADERS 2> /dev/null || echo /usr/include/x86_64-linux-gnu/qt5)
failed=0
count=0
for f in core/*.cpp operations/*.cpp device/*.cpp transfer/*.cpp update/*.cpp optimise/*.cpp cli/*.cpp; do
  case "$f" in */platform_linux.cpp|*/terminal_linux.cpp) continue ;; esac
  count=$((count + 1))
  if ! "$CXX" -std=gnu++17 -fsyntax-only -Wall -Wno-attributes -Wno-unknown-pragmas \
      -DQT_STATIC -DQT_CORE_LIB -DQT_NETWORK_LIB -DUNICODE -D_UNICODE \
      -I. -I"$QT" -I"$QT/QtCore" -I"$QT/QtNetwork" "$f"; then
    echo "check-windows: $f does not compile for Windows" >&2
    failed=1
  fi
done
[ "$failed" = 0 ] && echo "check-windows: $count sources compile for Windows"
exit $failed
