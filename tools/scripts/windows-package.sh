#!/bin/sh
# Packs the Windows release: EXE DATA_DIR ZIP.
# The zip holds one folder, IronMoat/, laid out as the game expects its
# working directory: ironmoat.exe (linked statically, so no DLL beside it),
# data/ with both archives, empty maps/ and logs/, and README.txt.
set -eu
case "${1:-}" in
-h | --help)
  echo "usage: tools/scripts/windows-package.sh EXE DATA_DIR ZIP"
  echo
  echo "Packs the Windows release: the game, its two archives, empty maps/ and"
  echo "logs/ folders and README.txt, in one IronMoat/ folder inside ZIP."
  exit 0
  ;;
esac

exe=$1
data=$2
zip=$3

for f in "$exe" "$data/core.dat" "$data/ironmoat.dat"; do
  if [ ! -f "$f" ]; then
    echo "windows-package: missing $f" >&2
    exit 1
  fi
done

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
top=$stage/IronMoat
mkdir -p "$top/data" "$top/maps" "$top/logs"
# The build keeps its debugging symbols; players get the program without.
x86_64-w64-mingw32-strip -o "$top/ironmoat.exe" "$exe"
cp "$data/core.dat" "$data/ironmoat.dat" "$top/data/"

# Notepad wants CRLF line ends.
sed 's/$/\r/' >"$top/README.txt" <<'EOF'
IronMoat
========

A top-down tank battle game for one or two players sharing one keyboard.
Defend your base against twenty enemy tanks a level.

Playing
-------
Keep this folder together and start ironmoat.exe from it. It needs
64-bit Windows with OpenGL graphics drivers.

Click "Single player" or "Two players" in the menu.

  Player 1: arrow keys to move, Right Ctrl to fire.
  Player 2: W A S D to move, Left Ctrl to fire.

Close the window to quit.

Folders
-------
  data\   the game's two archives; leave them as they are.
  maps\   your own levels (*.mtc files), played together with the
          35 campaign levels.
  logs\   one log file per run; send the newest one with any report.
EOF

mkdir -p "$(dirname "$zip")"
rm -f "$zip"
zip_abs=$(cd "$(dirname "$zip")" && pwd)/$(basename "$zip")
(cd "$stage" && zip -q -r -X "$zip_abs" IronMoat)
echo "windows-package: $zip"
