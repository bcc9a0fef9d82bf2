#!/bin/sh
# Runs a VBScript or JScript file under Wine's cscript. Passes when the
# script exits 0 and reached its last line: Wine's cscript also exits 0 when
# a run-time error stops a script half-way, so each test script says
# "script finished" just before WScript.Quit.
here=$(cd "$(dirname "$0")" && pwd)
script=$("$here/wine-run.sh" winepath -w "$1" 2>/dev/null | tr -d '\r')
shift
out=$("$here/wine-run.sh" cscript //nologo "$script" "$@" </dev/null 2>&1)
rc=$?
printf '%s\n' "$out"
[ $rc -eq 0 ] || exit $rc
printf '%s\n' "$out" | tr -d '\r' | grep -qx "script finished" || { echo "the script stopped before its end"; exit 1; }
