#!/bin/sh
# Installs what is needed, builds, and starts the tool on a demo player drive, with a local
# update server on 127.0.0.1 serving demo packages. Without a display it runs under Xvfb.
#   scripts/run-demo.sh [--fresh] [--broken]
#     --fresh   build a new demo drive (the old one is replaced)
#     --broken  remove AUTOEXEC.BAT from the demo drive, so the start-up check offers the repair
set -e
cd "$(dirname "$0")/.."
TOP=$(pwd)
FRESH=0
BROKEN=0
for arg in "$@"; do
  case "$arg" in
    --fresh) FRESH=1 ;;
    --broken) BROKEN=1 ;;
    *) echo "unknown option: $arg" >&2; exit 2 ;;
  esac
done

if [ "$(id -u)" = 0 ] && [ "${SKIP_INSTALL:-0}" != 1 ]; then
  sh scripts/install-deps.sh
fi
sh scripts/build.sh programs
BUILD_DIR=${BUILD_DIR:-build}

DEMO=${CORVEL3_DEMO_DIR:-$TOP/demo}
DRIVE=$DEMO/drive
SERVER_ROOT=$DEMO/server
PORT=${CORVEL3_DEMO_PORT:-8631}

if [ "$FRESH" = 1 ] || [ ! -d "$DRIVE" ]; then
  rm -rf "$DRIVE"
  python3 scripts/make-demo-drive.py "$DRIVE"
fi
if [ "$BROKEN" = 1 ]; then
  rm -f "$DRIVE/AUTOEXEC.BAT"
fi
sh scripts/make-demo-packages.sh "$SERVER_ROOT"

sh scripts/demo-server.sh "$SERVER_ROOT" "$PORT" &
SERVER_PID=$!
trap 'kill $SERVER_PID 2>/dev/null || true' EXIT INT TERM
sleep 1

export CORVEL3_VOLUMES="corvel3=$DRIVE"
export CORVEL3_UPDATE_SERVER="http://127.0.0.1:$PORT"
echo "Demo player drive: $DRIVE"
echo "Demo update server: $CORVEL3_UPDATE_SERVER"
if [ -n "$DISPLAY" ] || [ -n "$WAYLAND_DISPLAY" ]; then
  "$BUILD_DIR/bin/corvel3"
else
  echo "No display: starting the tool under Xvfb (screen :99). Attach a VNC viewer or set DISPLAY to see it."
  xvfb-run -n 99 -s "-screen 0 1024x800x24" "$BUILD_DIR/bin/corvel3"
fi
