#!/bin/sh
# The tests and `make run` use Wine prefixes apart: the settings and the
# temporary folders a test leaves in its prefix never show in the program
# that `make run` starts.
#   prefixes_test.sh BUILD_DIR
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
# `make run`'s prefix: the one its recipe names, else the one the Makefile
# exports to every recipe.
run_line=$(make -n -s --no-print-directory -C "$root" BUILD="$build" run 2>/dev/null | grep 'tools/run.sh' | head -n 1)
run_prefix=$(echo "$run_line" | sed -n 's/.*CORVELLA_WINEPREFIX=\([^ ]*\).*/\1/p')
if [ -z "$run_prefix" ]; then
  run_prefix=$(make -s --no-print-directory -C "$root" BUILD="$build" \
               --eval 'corvella-prefix: ; @echo $(CORVELLA_WINEPREFIX)' corvella-prefix)
fi
# The tests' prefix, as Wine itself reports it to a test.
drive_c=$("$root/cmake/wine-run.sh" winepath -u 'C:\' 2>/dev/null | tr -d '\r')
test_prefix=${drive_c%/dosdevices/c:/}
[ -n "$run_prefix" ] && [ -n "$test_prefix" ] || { echo "no prefix found: run '$run_prefix', tests '$test_prefix'"; exit 1; }
same() { [ "$(readlink -m "$1")" = "$(readlink -m "$2")" ]; }
echo "make run: $run_prefix; tests: $test_prefix"
if same "$run_prefix" "$test_prefix"; then
  echo "the tests run in the prefix of make run"
  exit 1
fi
