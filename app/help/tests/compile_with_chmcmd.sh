#!/bin/sh
# Compiles the help project with chmcmd in a scratch copy and reads the
# result back with the help file's check, whose faults it prints.
#   compile_with_chmcmd.sh SOURCE_DIR SCRATCH_DIR CHECK.py TITLE CONTEXT WINDOW...
set -e
src=$1 scratch=$2 check=$3
shift 3
rm -rf "$scratch"
mkdir -p "$scratch"
cp "$src"/*.htm "$src"/*.css "$src"/*.hhc "$src"/*.hhk "$src"/*.hhp "$scratch"/
(cd "$scratch" && chmcmd --no-html-scan Corvella.hhp >/dev/null)
# The caller's test reads what the check prints, not its exit code.
/usr/bin/python3 "$check" "$scratch/Corvella.chm" "$@" || true
