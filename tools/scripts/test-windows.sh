#!/bin/sh
# The Windows build under Wine: test-windows.sh BUILD WIN_BUILD ZIP
#   1. the engine's cross-built suites that need no window (CTest runs each
#      under tools/scripts/wine-run.sh, the build's cross-compiling emulator);
#   2. the game from the unpacked zip under Wine on an X server, as a player
#      runs it (BUILD/tests/test_wine drives it); its screenshots are kept in
#      WIN_BUILD/shots.
# Wine's prefix is WIN_BUILD/wine, made on first use.
set -eu
case "${1:-}" in
-h | --help)
  echo "usage: tools/scripts/test-windows.sh BUILD WIN_BUILD ZIP"
  echo
  echo "Runs the cross-built engine suites under Wine, then the game from ZIP under"
  echo "Wine on an X server, as a player runs it (called by make test-windows)."
  exit 0
  ;;
esac
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
win=$(cd "$2" && pwd)
zip=$(cd "$(dirname "$3")" && pwd)/$(basename "$3")
prefix=$win/wine

status=0
log=$win/ctest-wine.log
# The whole output goes to a log; shown here are each suite's own counts
# (CTest counts a suite as one test), every failure and CTest's summary.
# Under an X server, so that Wine gives the suites OpenGL (through Mesa) and
# the tests that load pictures into textures run as they do on Linux.
(cd "$win/game" && "$here/with-display.sh" ctest -V --timeout 900 -L windows >"$log" 2>&1) ||
  status=1
grep -E '[0-9]+: \[==========\] [0-9]+ tests? from|[0-9]+: \[  (PASSED|FAILED|SKIPPED) |[0-9]+: .*Failure$|tests passed|Test +#' \
  "$log" || true
if [ $status -ne 0 ]; then
  echo "test-windows: a suite failed under Wine; its whole output is in $log" >&2
fi

rm -rf "$win/shots"
IRONMOAT_WINDOWS_ZIP=$zip IRONMOAT_WINE_RUN=$here/wine-run.sh IRONMOAT_WINEPREFIX=$prefix \
  IRONMOAT_WINE_SHOTS=$win/shots "$here/with-display.sh" "$build/tests/test_wine" || status=1

# Wine's server stays a few seconds after its last program; wait it out, so
# nothing of the run is left behind.
WINEPREFIX=$prefix /usr/lib/wine/wineserver -w || true
exit $status
