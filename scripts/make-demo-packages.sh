#!/bin/sh
# Builds the demo update packages served by the demo update server:
#   <dir>/download/Corvel3/CorvelUpdate.zip  (a folder "CorvelUpdate" with a few files)
#   <dir>/download/Corvel3/CorvelAll.zip     (the player's whole system: AUTOEXEC.BAT, System/,
#                                              BRIDGES/, EFFECTS/)
# Usage: scripts/make-demo-packages.sh [dir]   (default: ./demo-server)
# Needs: zip. The archives are stored uncompressed so each is comfortably over the 10000 bytes
# the tool expects of a real package.
set -eu

out=${1:-demo-server}
mkdir -p "$out/download/Corvel3"
out=$(cd "$out" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM

# filler <file> <lines>: readable text that keeps a file from being tiny.
filler() {
  i=0
  while [ "$i" -lt "$2" ]; do
    printf 'Corvel3 demo data line %05d: the quick brown fox jumps over the lazy dog\r\n' "$i"
    i=$((i + 1))
  done >> "$1"
}

# The update package.
u="$work/update/CorvelUpdate"
mkdir -p "$u/Fonts" "$u/Lang"
printf 'Corvel3 system update 2.1 (demo)\r\n' > "$u/version.txt"
filler "$u/update.bin" 200
printf 'demo font\r\n' > "$u/Fonts/display.fnt"
printf 'lang=it\r\n' > "$u/Lang/italiano.lng"
printf 'lang=en\r\n' > "$u/Lang/english.lng"
printf 'update notes\r\n' > "$u/README"

# The full system package.
a="$work/all"
mkdir -p "$a/System/Corvel" "$a/System/DispProc" "$a/System/Playlist" "$a/BRIDGES" "$a/EFFECTS"
printf '@ECHO OFF\r\nSystem\\Corvel\\Corvel.exe\r\n' > "$a/AUTOEXEC.BAT"
printf 'MZ' > "$a/System/Corvel/Corvel.exe"
filler "$a/System/Corvel/Corvel.exe" 150
printf 'MZ' > "$a/System/DispProc/DispProc.exe"
filler "$a/System/DispProc/DispProc.exe" 50
printf 'bridge 1\r\n' > "$a/BRIDGES/BRIDGE01.MID"
printf 'bridge 2\r\n' > "$a/BRIDGES/BRIDGE02.MID"
printf 'reverb\r\n' > "$a/EFFECTS/REVERB.FX"
printf 'chorus\r\n' > "$a/EFFECTS/CHORUS.FX"
printf 'volume=10\r\n' > "$a/System/Corvel/SETTINGS"

rm -f "$out/download/Corvel3/CorvelUpdate.zip" "$out/download/Corvel3/CorvelAll.zip"
(cd "$work/update" && zip -q -r -X -0 "$out/download/Corvel3/CorvelUpdate.zip" CorvelUpdate)
(cd "$a" && zip -q -r -X -0 "$out/download/Corvel3/CorvelAll.zip" AUTOEXEC.BAT System BRIDGES EFFECTS)

ls -l "$out/download/Corvel3"
