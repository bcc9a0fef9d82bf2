#!/bin/sh
# Sets up the build's own Wine prefix once and keeps one wineserver running,
# so that each test process starts quickly and nothing holds ctest's pipes.
#   wine-prefix.sh start | stop
here=$(cd "$(dirname "$0")" && pwd)
: "${CORVELLA_WINEPREFIX:=$(cd "$here/.." && pwd)/build/wineprefix-tests}"
export WINEPREFIX="$CORVELLA_WINEPREFIX" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
case "$1" in
start)
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    made=""
    [ -d "$WINEPREFIX" ] || made=yes
    mkdir -p "$WINEPREFIX"
    # The programs are 32-bit: no 64-bit prefix, even where wine64 is installed.
    if ! WINEARCH=win32 wineboot -i </dev/null >/dev/null 2>&1; then
      # Wine itself may not start: a kernel that runs no 32-bit programs
      # answers "Exec format error". Say so rather than a bare failure.
      if ! wine --version </dev/null >/dev/null 2>&1; then
        echo "wine cannot start on this machine: $(wine --version </dev/null 2>&1 | tail -n 1)"
      else
        echo "wineboot failed"
      fi
      # A half-made prefix would pass for a ready one at the next start.
      [ -n "$made" ] && rm -rf "$WINEPREFIX"
      exit 1
    fi
    wineserver -w </dev/null >/dev/null 2>&1
  fi
  # Wine draws the caption buttons (minimise, maximise, close) as glyphs of
  # Marlett. Debian's Wine does not find it in its own font folder, so the
  # prefix's font folder gets a copy.
  fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ -d "$fonts" ] && [ ! -f "$fonts/marlett.ttf" ]; then
    cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
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
