#!/bin/sh
# Runs a command with a display: the caller's, or a private Xvfb started for
# it and stopped afterwards.
if [ -n "$DISPLAY" ] && [ -z "$CORVELLA_FORCE_XVFB" ]; then exec "$@"; fi
n=90
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
xpid=$!
trap 'kill $xpid 2>/dev/null; wait $xpid 2>/dev/null' EXIT INT TERM
i=0
while [ ! -e "/tmp/.X11-unix/X$n" ] && [ $i -lt 50 ]; do sleep 0.1; i=$((i + 1)); done
DISPLAY=":$n" "$@"
rc=$?
exit $rc
