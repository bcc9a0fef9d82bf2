#!/bin/sh
# Runs a VBScript or JScript file under Wine's cscript; its exit code is the
# script's (WScript.Quit).
here=$(cd "$(dirname "$0")" && pwd)
script=$("$here/wine-run.sh" winepath -w "$1" 2>/dev/null | tr -d '\r')
shift
exec "$here/wine-run.sh" cscript //nologo "$script" "$@" </dev/null
