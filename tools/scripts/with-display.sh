#!/bin/sh
# Runs the given command with an X server: the caller's display when one is
# set, otherwise a private Xvfb (Mesa's software OpenGL renders into it).
case "${1:-}" in
-h | --help)
  echo "usage: tools/scripts/with-display.sh COMMAND [ARGUMENT...]"
  echo
  echo "Runs COMMAND under the display in DISPLAY, or under a private Xvfb with"
  echo "Mesa's software OpenGL when none is set."
  exit 0
  ;;
esac
if [ -n "$DISPLAY" ]; then
  exec "$@"
fi
exec xvfb-run -a -s "-screen 0 1920x1080x24 +extension GLX +render -noreset" "$@"
