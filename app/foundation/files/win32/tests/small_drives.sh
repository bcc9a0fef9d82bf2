#!/bin/sh
# Two small file systems beneath $2 for the file service's tests under Wine,
# which reach them as Z:\...: "full", 256 KB for the tests to fill, and
# "readonly", mounted read-only over a plain file and one without write
# permission (read-only to Windows). Moves onto either from the prefix's
# drive C: cross file systems, so Wine copies and deletes.
# Mounting needs root: elsewhere nothing is made and the tests skip.
#   small_drives.sh up|down DIR
dir=$2
[ -n "$dir" ] || { echo "usage: $0 up|down DIR" >&2; exit 2; }
down() {
  # Lazily: the wineserver may still hold a folder of them open.
  for m in "$dir/full" "$dir/readonly"; do umount -l "$m" 2>/dev/null; done
  rm -rf "$dir" 2>/dev/null || true
}
case "$1" in
up)
  down
  mkdir -p "$dir/full" "$dir/readonly"
  if ! mount -t tmpfs -o size=256k,mode=0777 corvella_full "$dir/full" 2>/dev/null ||
     ! mount -t tmpfs -o size=64k,mode=0777 corvella_readonly "$dir/readonly" 2>/dev/null; then
    echo "no small drives: mounting a file system needs root; their tests skip"
    down
    exit 0
  fi
  printf 'plain' >"$dir/readonly/plain.mp3"
  printf 'marked' >"$dir/readonly/marked.mp3"
  chmod 0444 "$dir/readonly/marked.mp3"
  mount -o remount,ro "$dir/readonly"
  echo "small drives ready: $dir"
  ;;
down) down ;;
*) echo "usage: $0 up|down DIR" >&2; exit 2 ;;
esac
