#!/bin/sh
# `make run`: registers the libraries in the project's own Wine prefix and
# starts the program.
#   run.sh BIN_DIR [SCREENSHOT.png]
# With no display the program runs on a virtual one (Xvfb) until it ends;
# one line says so and names the screenshot of the main window, written as
# soon as that window is up. CORVELLA_RUN_UNTIL_SHOT=1 ends the program
# right after the screenshot (the test of this script does that).
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$(cd "$1" && pwd)
shot=${2:-$(dirname "$bin")/corvella-main-window.png}
: "${CORVELLA_WINEPREFIX:=$root/build/wineprefix}"
export CORVELLA_WINEPREFIX

if [ -z "$DISPLAY" ]; then
  # The display has to exist before the prefix's wineserver starts: Wine's
  # desktop, made once per wineserver, takes the display it finds then, and
  # without one no window of the program can ever show.
  export CORVELLA_RUN_VIRTUAL=1
  exec sh "$root/tools/with-xvfb.sh" sh "$0" "$bin" "$shot"
fi
if [ -n "$CORVELLA_RUN_VIRTUAL" ]; then
  # A wineserver left from another display would keep that one.
  WINEPREFIX=$CORVELLA_WINEPREFIX wineserver -k </dev/null >/dev/null 2>&1 || true
  trap 'WINEPREFIX=$CORVELLA_WINEPREFIX wineserver -k </dev/null >/dev/null 2>&1' EXIT
fi

ready=$("$root/cmake/wine-prefix.sh" start) || { echo "$ready" >&2; exit 1; }
# Only the COM libraries register; the plain DLLs beside them (the CD
# component, the MP3 encoder) have nothing to register.
for dll in "$bin"/*.dll; do
  [ -f "$dll" ] && grep -qa DllRegisterServer "$dll" && "$root/cmake/wine-regsvr.sh" "$dll"
done
if [ ! -f "$bin/Corvella.exe" ]; then
  echo "the libraries are registered in $CORVELLA_WINEPREFIX; the program itself is not built yet"
  exit 0
fi
if [ -z "$CORVELLA_RUN_VIRTUAL" ]; then
  exec "$root/cmake/wine-run.sh" "$bin/Corvella.exe"
fi

# The program logs its hand-over from the splash to the main window; the
# screenshot waits for the splash to be gone (a minute at most, then the
# screen is taken as it is, an error box perhaps).
log=$(mktemp "${TMPDIR:-/tmp}/corvella-run.XXXXXX")
CORVELLA_HANDOVER_LOG=$("$root/cmake/wine-run.sh" winepath -w "$log" 2>/dev/null | tr -d '\r')
export CORVELLA_HANDOVER_LOG
"$root/cmake/wine-run.sh" "$bin/Corvella.exe" </dev/null &
program=$!
echo "No display: Corvella runs on the virtual display $DISPLAY until it ends; see it in $shot (written once the main window is up), or watch it live with: x11vnc -display $DISPLAY"
i=0
while ! grep -q "frmLoading.Form_Unload" "$log" 2>/dev/null && kill -0 $program 2>/dev/null && [ $i -lt 600 ]; do
  sleep 0.1
  i=$((i + 1))
done
if grep -q "frmLoading.Form_Unload" "$log" 2>/dev/null; then
  python3 "$root/tools/screenshot.py" "$shot" Corvella || echo "no screenshot could be taken"
else
  python3 "$root/tools/screenshot.py" "$shot" || true
  echo "the main window did not come up; $shot shows the screen as it is"
fi
rm -f "$log"
if [ -n "$CORVELLA_RUN_UNTIL_SHOT" ]; then
  [ -s "$shot" ]
  exit
fi
status=0
wait $program || status=$?
exit $status
