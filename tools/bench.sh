#!/bin/sh
# `make bench`: the tag-reading benchmark natively (an optimised tree without
# sanitizers) and through the COM libraries under Wine, then the tip pane's
# HTML view, the CSV export and the case run under Wine. Prints their
# figures; each ends with its ratio.
set -e
# The window benchmarks need a display: one for the whole run (see the Makefile).
root=$(cd "$(dirname "$0")/.." && pwd)
win32=$2
bench_native="$root/build/bench-native"
files=${BENCH_FILES:-10000}
[ -f "$bench_native/CMakeCache.txt" ] ||
  cmake -S "$root" -B "$bench_native" -DCMAKE_BUILD_TYPE=Release -DCORVELLA_SANITIZE=OFF >/dev/null
cmake --build "$bench_native" -j "$(nproc)" --target tag_bench >/dev/null
cmake --build "$win32" -j "$(nproc)" --target tag_bench search_bench listview_bench html_bench main_window_bench \
  rip_bench rename_bench csv_bench case_bench \
  sorting_bench album_fill_bench >/dev/null
ready=$("$root/cmake/wine-prefix.sh" start) || { echo "$ready" >&2; exit 1; }
trap '"$root/cmake/wine-prefix.sh" stop' EXIT
"$root/cmake/wine-regsvr.sh" "$win32/bin/Lumbrel.dll"
"$root/cmake/wine-regsvr.sh" "$win32/bin/Tesselor.dll"
"$root/cmake/wine-regsvr.sh" "$win32/bin/Pagerelle.dll"
echo "== folder search: 10,000 files in 500 folders, under Wine"
"$root/cmake/wine-run.sh" "$win32/bin/search_bench.exe" 10000 500 | tr -d '\r'
echo "== list view: 10,000 rows of 13 columns, redraw locked, wrapper against bare messages (best of three each), under Wine"
"$root/cmake/wine-run.sh" "$win32/bin/listview_bench.exe" 10000 | tr -d '\r'
echo "== tag reading and in-place writing"
"$bench_native/bench/tag_bench" "$files"
"$root/cmake/wine-run.sh" "$win32/bin/tag_bench.exe" "$files" | tr -d '\r'
echo "== tip pane: every tip of a 300-line tips file laid out and painted, against plain text draws, under Wine"
"$root/cmake/wine-run.sh" "$win32/bin/html_bench.exe" 20 | tr -d '\r'
echo "== main window: 10,000 tagged files in 500 folders listed recursively in each tag view, against the bare walk and tag reads, under Wine"
tree="$root/build/bench-main-window"
sh "$root/app/mainwindow/bench/make_tree.sh" "$tree" 10000 500
"$root/cmake/wine-run.sh" "$win32/bin/main_window_bench.exe" "Z:$(echo "$tree/tree" | tr / \\\\)" |
  tr -d '\r' | grep -v "Read access"
echo "== CD rip: five minutes of generated audio as a disc image, the whole run against a bare encoder loop, under Wine"
rip="$root/build/bench-rip"
python3 "$root/platform/cdaudio/tests/make_images.py" "$rip" --long 300
"$root/cmake/wine-run.sh" "$win32/bin/rip_bench.exe" "Z:$(echo "$rip" | tr / \\\\)" "Z:$(echo "$rip/out" | tr / \\\\)" |
  tr -d '\r'
echo "== rename from tags: 10,000 listed files renamed, names built once, against a bare MoveFileA loop, under Wine"
"$root/cmake/wine-run.sh" "$win32/bin/rename_bench.exe" 10000 | tr -d '\r'
echo "== CSV export: 10,000 listed files, every column, against bare first-frame reads and one write, under Wine"
"$root/cmake/wine-run.sh" "$win32/bin/csv_bench.exe" 10000 | tr -d '\r'
echo "== case run: 10,000 files, both tag versions, against the tag bench's read and write, under Wine"
"$root/cmake/wine-run.sh" "$win32/bin/case_bench.exe" 10000 | tr -d '\r'
echo "== sorting wizard: 10,000 tagged files in 500 folders previewed and sorted into two levels through the wizard, against one tag read and one MoveFileA a file, under Wine"
sort_tree="$root/build/bench-sorting"
sh "$root/app/tools/sorting/bench/make_sort_tree.sh" "$sort_tree" 10000 500
"$root/cmake/wine-run.sh" "$win32/bin/sorting_bench.exe" "Z:$(echo "$sort_tree" | tr / \\\\)" | tr -d '\r'
rm -rf "$sort_tree"
echo "== album lookup: the tag fill of 99 listed files in both versions, against the bare tag calls, under Wine"
"$root/cmake/wine-run.sh" "$win32/bin/album_fill_bench.exe" | tr -d '\r'
