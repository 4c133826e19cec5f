#!/bin/sh
# Runs a Windows program under Debian's wine64: wine-run.sh PREFIX PROGRAM ARGS...
# PREFIX is a private Wine prefix (made on first use, quietly). Wine's own
# diagnostics are off, and so are the .NET and HTML runtimes, whose absence
# would otherwise make Wine offer to install them.
set -eu
case "${1:-}" in
-h | --help)
  echo "usage: tools/scripts/wine-run.sh PREFIX PROGRAM [ARGUMENT...]"
  echo
  echo "Runs a Windows program under wine64 in the Wine prefix PREFIX, made on"
  echo "first use."
  exit 0
  ;;
esac
prefix=$1
shift
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
wine=/usr/lib/wine/wine64
if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$prefix"
  # No 32-bit Wine is installed; its one complaint at start-up is expected.
  "$wine" wineboot -i >"$prefix.boot.log" 2>&1 || {
    cat "$prefix.boot.log" >&2
    exit 1
  }
  /usr/lib/wine/wineserver -w
fi
exec "$wine" "$@"
