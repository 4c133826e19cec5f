#!/bin/sh
# Syntax-checks every Windows-only source with mingw-w64, so the Windows
# implementations kept beside the POSIX ones do not rot.
set -e
case "${1:-}" in
-h | --help)
  echo "usage: tools/scripts/check-windows.sh"
  echo
  echo "Syntax-checks every Windows-only source (engine/**/*Win32.cpp) with mingw-w64."
  exit 0
  ;;
esac
cd "$(dirname "$0")/../.."
CXX=x86_64-w64-mingw32-g++
files=$(find engine -name '*Win32.cpp' | sort)
if [ -z "$files" ]; then
  echo "check-windows: no Windows sources yet"
  exit 0
fi
for f in $files; do
  echo "check-windows: $f"
  $CXX -std=c++20 -fsyntax-only -Wall -Wextra -Werror -I. -D_WIN32_WINNT=0x0601 -DUNICODE -D_UNICODE "$f"
done
