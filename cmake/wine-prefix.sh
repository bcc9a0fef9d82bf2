#!/bin/sh
# Sets up the build's own Wine prefix once and keeps one wineserver running,
# so that each test process starts quickly and nothing holds ctest's pipes.
#   wine-prefix.sh start | stop
here=$(cd "$(dirname "$0")" && pwd)
: "${CORVELLA_WINEPREFIX:=$(cd "$here/.." && pwd)/build/wineprefix}"
export WINEPREFIX="$CORVELLA_WINEPREFIX" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
case "$1" in
start)
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i </dev/null >/dev/null 2>&1 || { echo "wineboot failed"; exit 1; }
    wineserver -w </dev/null >/dev/null 2>&1
  fi
  # Wine draws the window frames itself: there is no window manager on the
  # virtual display, and a managed window costs two seconds to destroy there.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
  # Returns once the server listens: it goes to the background by itself.
  wineserver -p </dev/null >/dev/null 2>&1
  wine cmd /c exit </dev/null >/dev/null 2>&1
  echo "wine prefix ready: $WINEPREFIX"
  ;;
stop)
  wineserver -k </dev/null >/dev/null 2>&1
  exit 0
  ;;
*)
  echo "usage: $0 start|stop"; exit 2 ;;
esac
