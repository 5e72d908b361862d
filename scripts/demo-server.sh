#!/bin/sh
# Serves a folder made by make-demo-packages.sh as the update server, on loopback only.
# Usage: scripts/demo-server.sh [dir] [port]   (defaults: ./demo-server 8631)
# Point the tool at it with CORVEL3_UPDATE_SERVER=http://127.0.0.1:<port>. Stops with Ctrl-C
# or when killed.
set -eu

dir=${1:-demo-server}
port=${2:-8631}
if [ ! -f "$dir/download/Corvel3/CorvelUpdate.zip" ]; then
  sh "$(dirname "$0")/make-demo-packages.sh" "$dir" > /dev/null
fi
echo "Update server on http://127.0.0.1:$port serving $dir"
echo "  export CORVEL3_UPDATE_SERVER=http://127.0.0.1:$port"
exec python3 -m http.server --bind 127.0.0.1 --directory "$dir" "$port"
