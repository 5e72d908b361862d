#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in a build folder of their own, seeds each with a few
# valid files, and runs each fuzz_* target for a bounded time. Fails when a target finds a crash.
#
#   scripts/run-fuzz.sh [seconds per target, default 60]
#   FUZZ_BUILD_DIR=<folder>   where to build (default: build-fuzz in the repository)
#   FUZZ_TARGETS="fuzz_x ..." run only these targets
#   FUZZ_JOBS=<n>             build jobs (default 2)
set -euo pipefail

seconds="${1:-60}"
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${FUZZ_BUILD_DIR:-$repo/build-fuzz}"
jobs="${FUZZ_JOBS:-2}"

generator=()
command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S "$repo" -B "$build" "${generator[@]}" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCORVEL3_BUILD_FUZZ=ON -DCORVEL3_BUILD_TESTS=OFF -DCORVEL3_BUILD_BENCH=OFF
fi
cmake --build "$build" --target fuzz -j "$jobs"

# --- seed corpora: a few valid files per target -------------------------------------------------
zeros() { head -c "$1" /dev/zero; }

seeds_fuzz_titles() {
  local d="$1"
  # MP3 with an ID3v2 tag whose first frame is TIT2, then audio-like bytes.
  { printf 'ID3\x04\x00\x00\x00\x00\x00\x30'
    printf 'TIT2\x00\x00\x00\x06\x00\x00\x03Amore'
    zeros 31; printf '\xff\xfb\x90\x00'; zeros 200; } > "$d/tit2.mp3"
  # MP3 whose first frame is an artist: no title although TIT2 follows.
  { printf 'ID3\x03\x00\x00\x00\x00\x00\x40'
    printf 'TPE1\x00\x00\x00\x05\x00\x00\x00Mina'
    printf 'TIT2\x00\x00\x00\x07\x00\x00\x01\xff\xfeA\x00'
    zeros 40; } > "$d/artist-first.mp3"
  # MP3 with an ID3v1 tag only.
  { printf '\xff\xfb\x90\x00'; zeros 300
    printf 'TAGVolare'; zeros 119; } > "$d/id3v1.mp3"
  # MIDI: notice, then track name.
  { printf 'MThd\x00\x00\x00\x06\x00\x00\x00\x01\x00\x60MTrk\x00\x00\x00\x1c'
    printf '\x00\xff\x02\x04(c) '
    printf '\x00\xff\x03\x06Volare'
    printf '\x00\x90\x3c\x40\x60\x80\x3c\x00\x00\xff\x2f\x00'; } > "$d/track.mid"
  # Karaoke: file-type text event, then "@T" title, then author.
  { printf 'MThd\x00\x00\x00\x06\x00\x01\x00\x02\x00\x60MTrk\x00\x00\x00\x30'
    printf '\x00\xff\x01\x13@KMIDI KARAOKE FILE'
    printf '\x00\xff\x01\x09@TAzzurro'
    printf '\x00\xff\x01\x81\x00@LITA'
    printf '\x00\xff\x2f\x00'; } > "$d/song.kar"
  # Fixed field at offset 122 with leading spaces.
  { printf 'MF3\x01'; zeros 118; printf '   Parola'; zeros 263; } > "$d/field.mf3"
}

status=0
summary=()
for bin in "$build"/bin/fuzz_*; do
  [ -x "$bin" ] || continue
  name="$(basename "$bin")"
  if [ -n "${FUZZ_TARGETS:-}" ] && [[ " $FUZZ_TARGETS " != *" $name "* ]]; then
    continue
  fi
  corpus="$build/corpus/$name"
  mkdir -p "$corpus" "$build/artifacts"
  if declare -F "seeds_$name" >/dev/null; then
    "seeds_$name" "$corpus"
  fi
  if [ -d "$repo/fuzz/seeds/$name" ]; then
    cp -n "$repo/fuzz/seeds/$name"/* "$corpus"/ 2>/dev/null || true
  fi
  extra=()
  dict="$repo/fuzz/${name#fuzz_}.dict"
  [ -f "$dict" ] && extra+=(-dict="$dict")

  echo "== $name: ${seconds}s"
  log="$build/$name.log"
  if "$bin" "${extra[@]}" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
       -artifact_prefix="$build/artifacts/$name-" "$corpus" >"$log" 2>&1; then
    result=ok
  else
    result=FAILED
    status=1
    tail -n 60 "$log"
  fi
  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)"
  rate="$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)"
  summary+=("$name: $result, ${runs:-?} runs, ${rate:-?} execs/s, corpus $(ls "$corpus" | wc -l) files")
done

echo "== summary"
if [ ${#summary[@]} -eq 0 ]; then
  echo "no fuzz targets found in $build/bin"
  exit 1
fi
printf '%s\n' "${summary[@]}"
exit "$status"
