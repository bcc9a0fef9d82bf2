#!/bin/sh
# Makes sure this machine runs 32-bit x86 Linux programs, as Wine's 32-bit
# loader is one. A kernel built or booted without IA-32 emulation refuses
# them with "Exec format error"; then, as root, QEMU's user-mode emulator is
# registered for them with binfmt_misc, so wine, wineboot and every process
# Wine starts run through it without anyone naming it.
#
# QEMU before 8 ignores MAP_FIXED_NOREPLACE, with which Wine reserves the
# upper half of the address space; each Wine process then probes the 2 GB
# there 64 KB at a time and takes minutes to start. Debian 12 ships 7.2, so
# the emulator comes from bookworm-backports. The wineserver is taken from
# wine64: it runs natively and serves the emulated 32-bit clients.
set -e

# An i386 ELF that only exits with 42.
runs_i386() {
  probe=$(mktemp)
  printf '\177\105\114\106\001\001\001\000\000\000\000\000\000\000\000\000\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010\140\000\000\000\140\000\000\000\005\000\000\000\000\020\000\000\270\001\000\000\000\273\052\000\000\000\315\200' >"$probe"
  chmod +x "$probe"
  rc=0
  "$probe" 2>/dev/null || rc=$?
  rm -f "$probe"
  [ "$rc" = 42 ]
}

runs_i386 && exit 0

if [ "$(id -u)" != 0 ]; then
  echo "this kernel runs no 32-bit programs, which Wine needs; as root, set-up registers QEMU's emulator for them" >&2
  exit 1
fi

qemu=/usr/bin/qemu-i386
qemu_major() { "$qemu" --version 2>/dev/null | sed -n 's/^qemu-i386 version \([0-9]*\)\..*/\1/p'; }
major=$(qemu_major)
if [ "${major:-0}" -lt 8 ] || [ ! -x /usr/lib/wine/wineserver64 ]; then
  echo "this kernel runs no 32-bit programs: installing QEMU's user-mode emulator for them"
  export DEBIAN_FRONTEND=noninteractive
  sources=$(mktemp)
  # The security suite stays in: wine64 pulls in the amd64 halves of
  # multi-arch libraries whose i386 halves Wine already has, perhaps at a
  # security update's version. Without that suite apt can only match them by
  # removing the i386 halves, and Wine's 32-bit side with them.
  printf 'deb http://deb.debian.org/debian bookworm main\ndeb http://deb.debian.org/debian bookworm-updates main\ndeb http://deb.debian.org/debian-security bookworm-security main\ndeb http://deb.debian.org/debian bookworm-backports main\n' >"$sources"
  set -- -o Dir::Etc::SourceList="$sources" -o Dir::Etc::SourceParts=/nonexistent
  # What Wine's 32-bit side needs is named too, so that apt keeps it or fails
  # here, never drops it quietly.
  keep=""
  for p in wine32:i386 gstreamer1.0-plugins-base:i386 gstreamer1.0-plugins-good:i386; do
    dpkg -s "$p" >/dev/null 2>&1 && keep="$keep $p"
  done
  # A mirror in the middle of a sync fails an index now and then: one retry.
  for try in 1 2; do
    apt-get "$@" update -q || true
    apt-get "$@" install -y -q --no-install-recommends qemu-user-static/bookworm-backports wine64 $keep && break
    [ "$try" = 2 ] && { rm -f "$sources"; exit 1; }
  done
  rm -f "$sources"
  major=$(qemu_major)
  if [ "${major:-0}" -lt 8 ]; then
    echo "QEMU 8 or newer is needed to run Wine on this kernel; found: $("$qemu" --version 2>&1 | head -n 1)" >&2
    exit 1
  fi
fi

binfmt=/proc/sys/fs/binfmt_misc
[ -f "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt"
# A stale entry may name an emulator that has since been replaced.
[ -f "$binfmt/corvella-i386" ] && echo -1 >"$binfmt/corvella-i386"
# ELF, 32-bit, little-endian, executable or shared object, machine i386.
# "F" opens the emulator now, so it is found from any mount namespace.
printf '%s' ':corvella-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$qemu"':F' >"$binfmt/register"

if ! runs_i386; then
  echo "32-bit programs still do not run after registering $qemu" >&2
  exit 1
fi
echo "32-bit programs run through $qemu ($("$qemu" --version | head -n 1))"
