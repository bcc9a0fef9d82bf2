#!/bin/sh
# Registers a built COM library in the build's Wine prefix (regsvr32 /s).
# With -u first, unregisters it instead.
here=$(cd "$(dirname "$0")" && pwd)
flag=/s
if [ "$1" = "-u" ]; then flag="/u /s"; shift; fi
dll=$("$here/wine-run.sh" winepath -w "$1" 2>/dev/null | tr -d '\r')
exec "$here/wine-run.sh" regsvr32 $flag "$dll" </dev/null
