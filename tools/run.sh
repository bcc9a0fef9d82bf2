#!/bin/sh
# `make run`: registers the libraries in the project's own Wine prefix and
# starts the program, on a virtual display when there is no real one.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$1
"$root/cmake/wine-prefix.sh" start >/dev/null
for dll in "$bin"/*.dll; do
  [ -f "$dll" ] && "$root/cmake/wine-regsvr.sh" "$dll"
done
if [ -f "$bin/Corvella.exe" ]; then
  exec sh "$root/tools/with-xvfb.sh" "$root/cmake/wine-run.sh" "$bin/Corvella.exe"
fi
echo "the libraries are registered in $CORVELLA_WINEPREFIX; the program itself is not built yet"
