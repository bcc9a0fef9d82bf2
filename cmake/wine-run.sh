#!/bin/sh
# Runs a Windows program of the build under Wine in the build's own prefix.
# CORVELLA_WINEPREFIX is set by the Makefile; the default keeps ad-hoc ctest
# runs out of ~/.wine as well, and out of the prefix of `make run`.
: "${CORVELLA_WINEPREFIX:=$(cd "$(dirname "$0")/.." && pwd)/build/wineprefix-tests}"
export WINEPREFIX="$CORVELLA_WINEPREFIX"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LANG="${LANG:-en_US.UTF-8}"
exec wine "$@"
