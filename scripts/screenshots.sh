#!/bin/sh
# Starts the demo (demo drive, local update server) under Xvfb and saves a picture of every screen
# in Italian and in English into docs/screenshots/: the language choice, the check, the repair
# question, the clean check, the operations window, the optimise panel and the end box of an
# update. Driven with xdotool (the accessibility bus cannot see Qt windows). Everything the
# program writes on the console other than its own "App path" line is printed at the end.
# A second run on a 1366x768 screen whose desktop keeps 64 px for its panels takes the operations
# window there (top, and scrolled to the bottom), and again with the text 1.5 times as large
# (QT_FONT_DPI=144, as a desktop set to 144 dpi), with the optimise panel open.
#   scripts/screenshots.sh          (needs xvfb, xdotool, x11-apps, x11-utils and netpbm; not run by CI)
set -eu
cd "$(dirname "$0")/.."
TOP=$(pwd)
if [ -z "${SCREENSHOTS_INNER:-}" ]; then
  sh scripts/build.sh programs > /dev/null
  SCREENSHOTS_INNER=design xvfb-run -a -s "-screen 0 640x800x24 -noreset" sh "$0" "$@"
  SCREENSHOTS_INNER=laptop exec xvfb-run -a -s "-screen 0 1366x768x24 -noreset" sh "$0" "$@"
fi

BUILD_DIR=${BUILD_DIR:-build}
OUT=$TOP/docs/screenshots
WORK=$(mktemp -d)
PORT=${CORVEL3_DEMO_PORT:-8632}
mkdir -p "$OUT"
sh scripts/make-demo-packages.sh "$WORK/server" > /dev/null
python3 -m http.server --bind 127.0.0.1 --directory "$WORK/server" "$PORT" > /dev/null 2>&1 &
SERVER=$!
trap 'kill $SERVER 2> /dev/null || true; rm -rf "$WORK"' EXIT INT TERM
export CORVEL3_UPDATE_SERVER="http://127.0.0.1:$PORT"
export XDG_RUNTIME_DIR="$WORK/run" HOME="$WORK/home"
mkdir -p "$XDG_RUNTIME_DIR" "$HOME"
chmod 700 "$XDG_RUNTIME_DIR"

# The program runs from a folder of its own, so its language file stays out of the build.
APP=$WORK/app
mkdir -p "$APP"
cp "$BUILD_DIR"/bin/corvel3 "$BUILD_DIR"/bin/corvel3-* "$APP"/

shot() {   # shot NAME: the screen, with the program's boxes drawn over the window, small
  sleep 0.5
  xwd -silent -root | xwdtopnm > "$WORK/screen.ppm" 2> /dev/null
  # A box is a window of its own, which a picture of the whole screen shows black: add each.
  for w in $(xdotool search --onlyvisible --pid "$PROGRAM" 2> /dev/null); do
    info=$(xwininfo -id "$w")
    x=$(echo "$info" | sed -n 's/.*Absolute upper-left X: *//p')
    y=$(echo "$info" | sed -n 's/.*Absolute upper-left Y: *//p')
    width=$(echo "$info" | sed -n 's/.*Width: *//p')
    [ "$width" -ge 620 ] && continue
    xwd -silent -id "$w" | xwdtopnm 2> /dev/null > "$WORK/box.ppm"
    pamcomp -xoff "$x" -yoff "$y" "$WORK/box.ppm" "$WORK/screen.ppm" > "$WORK/both.ppm"
    mv "$WORK/both.ppm" "$WORK/screen.ppm"
  done
  pamcut -left 0 -top 0 -width 620 -height 751 "$WORK/screen.ppm" \
    | pnmquant 96 2> /dev/null | pnmtopng -compression 9 > "$OUT/$1.png"
  echo "  $1.png"
}
window() {   # window TITLE: the id of the visible window with that title, waiting for it
  for _ in $(seq 1 100); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2> /dev/null | head -1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.2
  done
  echo "no window '$1'" >&2
  return 1
}
# Qt 6 takes a desktop at 144 dpi for a display scaled 1.5 times: the whole window grows with
# the text, and every place to click with it. Qt 5 grows the text only.
QT6=
if ldd "$APP/corvel3" | grep -q libQt6Core; then QT6=yes; fi
click() {   # click WINDOW X Y (where the window at 100 % has it)
  if [ -n "$QT6" ] && [ -n "${QT_FONT_DPI:-}" ]; then
    set -- "$1" $(($2 * QT_FONT_DPI / 96)) $(($3 * QT_FONT_DPI / 96))
  fi
  xdotool mousemove --window "$1" "$2" "$3" click 1
}
start() {   # start LANGUAGE-LOG: runs the program on the demo drive
  "$APP/corvel3" >> "$WORK/console-$1.txt" 2>&1 &
  PROGRAM=$!
}

winshot() {   # winshot NAME WINDOW: the window alone, at its own size
  sleep 0.5
  info=$(xwininfo -id "$2")
  x=$(echo "$info" | sed -n 's/.*Absolute upper-left X: *//p')
  y=$(echo "$info" | sed -n 's/.*Absolute upper-left Y: *//p')
  width=$(echo "$info" | sed -n 's/.*Width: *//p')
  height=$(echo "$info" | sed -n 's/.*Height: *//p')
  xwd -silent -root | xwdtopnm 2> /dev/null | pamcut -left "$x" -top "$y" -width "$width" -height "$height" \
    | pnmquant 96 2> /dev/null | pnmtopng -compression 9 > "$OUT/$1.png"
  echo "  $1.png (${width}x$height)"
}

if [ "$SCREENSHOTS_INNER" = laptop ]; then
  # The desktop's panels: what Qt reads as the screen's available part.
  xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA "0, 32, 1366, 704"
  for lang in it en; do
    echo "$lang, 1366x768:"
    rm -rf "$WORK/drive"
    python3 scripts/make-demo-drive.py "$WORK/drive" --songs 40 --big 0 > /dev/null
    export CORVEL3_VOLUMES="corvel3=$WORK/drive"
    if [ "$lang" = it ]; then printf italian > "$APP/Corvel.ini"; else printf english > "$APP/Corvel.ini"; fi
    for scale in 100 150; do
      : > "$WORK/console-$lang-$scale.txt"
      if [ $scale = 150 ]; then export QT_FONT_DPI=144; else unset QT_FONT_DPI; fi
      start "$lang-$scale"
      boot=$(window MainWindow)
      sleep 3
      click "$boot" 295 249
      ops=$(window "Corvel3 Disk Formatter")
      if [ $scale = 100 ]; then
        winshot "$lang-8-operations-1366x768" "$ops"
        for _ in 1 2 3 4 5; do xdotool mousemove --window "$ops" 300 300 click 5; done
        winshot "$lang-9-operations-1366x768-scrolled" "$ops"
      else
        winshot "$lang-10-operations-text150" "$ops"
        click "$ops" 300 335
        winshot "$lang-11-optimise-text150" "$ops"
      fi
      kill "$PROGRAM" 2> /dev/null || true
      wait "$PROGRAM" 2> /dev/null || true
    done
  done
  unset QT_FONT_DPI
  echo "Console lines other than the program's own 'App path' line:"
  grep -hv "^App path" "$WORK"/console-*.txt || echo "  none"
  exit 0
fi

for lang in it en; do
  echo "$lang:"
  : > "$WORK/console-$lang.txt"
  rm -rf "$WORK/drive" "$APP/Corvel.ini"
  python3 scripts/make-demo-drive.py "$WORK/drive" --songs 40 --big 0 > /dev/null
  export CORVEL3_VOLUMES="corvel3=$WORK/drive"
  mv "$WORK/drive/AUTOEXEC.BAT" "$WORK/AUTOEXEC.BAT"

  # First start: language choice, the check, the repair question (answered No).
  start "$lang"
  boot=$(window MainWindow)
  shot "$lang-1-language"
  if [ "$lang" = it ]; then click "$boot" 187 297; else click "$boot" 422 297; fi
  sleep 0.8
  shot "$lang-2-check"
  sleep 2.5
  shot "$lang-3-repair-question"
  xdotool key Escape
  ops=$(window "Corvel3 Disk Formatter")
  shot "$lang-5-operations"
  xdotool windowfocus --sync "$ops" key F1
  shot "$lang-12-about"
  xdotool key Escape
  click "$ops" 300 335
  shot "$lang-6-optimise"
  xdotool key Escape
  click "$ops" 575 122
  sleep 0.5
  # The update, to its end box.
  click "$ops" 300 125
  sleep 6
  shot "$lang-7-update-end"
  xdotool key Return
  sleep 0.5
  kill "$PROGRAM" 2> /dev/null || true
  wait "$PROGRAM" 2> /dev/null || true

  # Second start, the system complete again: the clean check, with its OK.
  mv "$WORK/AUTOEXEC.BAT" "$WORK/drive/AUTOEXEC.BAT"
  start "$lang"
  window MainWindow > /dev/null
  sleep 3
  shot "$lang-4-check-completed"
  kill "$PROGRAM" 2> /dev/null || true
  wait "$PROGRAM" 2> /dev/null || true
done
echo "Console lines other than the program's own 'App path' line:"
grep -hv "^App path" "$WORK"/console-*.txt || echo "  none"
