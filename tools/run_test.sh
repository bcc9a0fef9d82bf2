#!/bin/sh
# `make run` on a machine with no display, in a fresh Wine prefix: the
# program must come up on a virtual display, the one line must say so and
# name the screenshot, and the screenshot must hold the main window.
#   run_test.sh BIN_DIR WORK_DIR
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
out=$(env -u DISPLAY CORVELLA_WINEPREFIX="$work/prefix" CORVELLA_RUN_UNTIL_SHOT=1 \
      sh "$root/tools/run.sh" "$bin" "$work/main.png" 2>&1) || { echo "$out"; echo "run.sh failed"; exit 1; }
echo "$out"
echo "$out" | grep -q "^No display: .*virtual display :[0-9]*.*$work/main.png" || { echo "no line naming the display and the screenshot"; exit 1; }
echo "$out" | grep -q "did not come up" && { echo "the main window did not come up"; exit 1; }
python3 - "$work/main.png" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
width, height = struct.unpack(">II", data[16:24])
# The main window, not the splash or the whole screen.
assert 300 <= width < 1280 and 200 <= height < 1024, f"{width}x{height}"
print(f"screenshot {width}x{height}")
PY
