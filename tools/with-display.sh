#!/usr/bin/env bash
# Runs a command with an X display: a private Xvfb unless MORVANE_USE_DISPLAY=1
# and $DISPLAY is set. Tests always get their own virtual screen.
set -u
if [ "${MORVANE_USE_DISPLAY:-0}" = 1 ] && [ -n "${DISPLAY:-}" ]; then
  exec "$@"
fi
for n in $(seq 91 140); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || { disp=$n; break; }
done
Xvfb ":$disp" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xpid=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$disp" ] && break; sleep 0.1; done
export DISPLAY=":$disp"
"$@"
rc=$?
kill "$xpid" 2>/dev/null; wait "$xpid" 2>/dev/null
exit $rc
