#!/bin/sh
# Runs the given command with an X server: the caller's display when one is
# set, otherwise a private Xvfb (Mesa's software OpenGL renders into it).
if [ -n "$DISPLAY" ]; then
  exec "$@"
fi
exec xvfb-run -a -s "-screen 0 1920x1080x24 +extension GLX +render -noreset" "$@"
