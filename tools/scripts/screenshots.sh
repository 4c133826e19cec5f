#!/bin/sh
# Makes docs/images/menu.png and docs/images/match.png from the real game:
# starts it from a temporary runtime folder, photographs the menu, clicks
# "Single player", drives Player 1 a little and photographs the match.
# Usage: tools/scripts/screenshots.sh [build folder]   (default: build)
set -eu

case "${1:-}" in
-h | --help)
  echo "usage: tools/scripts/screenshots.sh [BUILD]"
  echo
  echo "Photographs the real game's menu and a match into docs/images/menu.png and"
  echo "docs/images/match.png; BUILD is the build folder (default: build)."
  exit 0
  ;;
esac

ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=$(cd "${1:-$ROOT/build}" && pwd)

# Without a display, run again under a private X server.
if [ -z "${DISPLAY:-}" ]; then
  exec "$ROOT/tools/scripts/with-display.sh" "$0" "$BUILD"
fi

OUT=$ROOT/docs/images
mkdir -p "$OUT"
RUN=$(mktemp -d /tmp/ironmoat-shots-XXXXXX)
mkdir -p "$RUN/logs" "$RUN/maps"
ln -s "$BUILD/game/ironmoat" "$RUN/ironmoat"
ln -s "$BUILD/game/data" "$RUN/data"

(cd "$RUN" && exec ./ironmoat >"$RUN/stdout.txt" 2>"$RUN/stderr.txt") &
GAME=$!
cleanup() {
  kill "$GAME" 2>/dev/null || true
  wait "$GAME" 2>/dev/null || true
  rm -rf "$RUN"
}
trap cleanup EXIT

# The window, within 30 seconds.
WID=""
for _ in $(seq 1 60); do
  WID=$(xdotool search --onlyvisible --name '^IronMoat v1\.0' 2>/dev/null | head -n 1 || true)
  [ -n "$WID" ] && break
  sleep 0.5
done
if [ -z "$WID" ]; then
  echo "screenshots: the game's window did not appear" >&2
  exit 1
fi
xdotool windowmove "$WID" 0 0
xdotool windowfocus "$WID" 2>/dev/null || true
sleep 2

# GL windows are read back from the screen they are shown on.
shot() {
  import -window root -crop 1280x720+0+0 +repage "$1"
}
shot "$OUT/menu.png"

# "Single player": the first row under the title whose pixel at x = 600 is
# not the desktop's grey is the button's top.
TOP=$(convert "$OUT/menu.png" -crop 1x400+600+140 +repage -depth 8 txt:- |
  awk -F'[,:]' 'NR > 1 && $0 !~ /#373737/ { print $2 + 140; exit }')
if [ -z "$TOP" ]; then
  echo "screenshots: no button found on the menu" >&2
  exit 1
fi
xdotool mousemove --window "$WID" 640 $((TOP + 25)) click 1
sleep 3

# Player 1 drives up and fires for a while, then the match is photographed.
xdotool windowfocus "$WID" 2>/dev/null || true
xdotool keydown Up keydown Control_R
sleep 1.5
xdotool keyup Up
sleep 1.5
xdotool keyup Control_R keydown Left
sleep 0.8
xdotool keyup Left keydown Control_R
sleep 1.5
xdotool keyup Control_R
shot "$OUT/match.png"


echo "screenshots: wrote $OUT/menu.png and $OUT/match.png"
