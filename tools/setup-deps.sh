#!/bin/sh
# Installs what the build and the tests need on Debian 12, when it is missing.
# As root it uses apt-get; otherwise it only says what is missing.
set -e
need_pkgs=""
check() { # command package
  command -v "$1" >/dev/null 2>&1 || need_pkgs="$need_pkgs $2"
}
check cmake cmake
check g++ g++
check i686-w64-mingw32-g++-posix g++-mingw-w64-i686-posix
check i686-w64-mingw32-gcc-posix gcc-mingw-w64-i686-posix
check i686-w64-mingw32-g++-win32 g++-mingw-w64-i686-win32
check i686-w64-mingw32-gcc-win32 gcc-mingw-w64-i686-win32
check i686-w64-mingw32-widl mingw-w64-tools
check wine wine
check Xvfb xvfb
check xauth xauth
check eyeD3 eyed3
check id3v2 id3v2
check lame lame
check mpg123 mpg123
check mediainfo mediainfo
check python3 python3
[ -f /usr/lib/i386-linux-gnu/wine/i386-windows/stdole2.tlb ] || need_pkgs="$need_pkgs wine32:i386"
# Wine's MP3 playback decodes through GStreamer.
[ -f /usr/lib/i386-linux-gnu/gstreamer-1.0/libgstplayback.so ] || need_pkgs="$need_pkgs gstreamer1.0-plugins-base:i386"
[ -f /usr/lib/i386-linux-gnu/gstreamer-1.0/libgstmpg123.so ] || need_pkgs="$need_pkgs gstreamer1.0-plugins-good:i386"
[ -f /usr/src/googletest/CMakeLists.txt ] || need_pkgs="$need_pkgs googletest"
[ -f /usr/lib/x86_64-linux-gnu/cmake/GTest/GTestConfig.cmake ] || need_pkgs="$need_pkgs libgtest-dev"
/usr/bin/python3 -c 'import mutagen' 2>/dev/null || need_pkgs="$need_pkgs python3-mutagen"

[ -z "$need_pkgs" ] && exit 0
if [ "$(id -u)" != 0 ]; then
  echo "missing Debian packages:$need_pkgs (run as root, or install them)" >&2
  exit 1
fi
echo "installing:$need_pkgs"
export DEBIAN_FRONTEND=noninteractive
case "$need_pkgs" in *:i386*) dpkg --add-architecture i386 ;; esac
# A mirror in the middle of a sync fails one index now and then (seen with
# the security suite's i386 list). Then the amd64 and i386 halves of a
# multi-arch library cannot be matched, so the install is retried against
# the main suites alone, where both architectures carry the same versions.
apt-get update -q || echo "apt-get update reported errors; trying the install anyway"
if ! apt-get install -y -q --no-install-recommends $need_pkgs; then
  main_only=$(mktemp)
  printf 'deb http://deb.debian.org/debian bookworm main\ndeb http://deb.debian.org/debian bookworm-updates main\n' >"$main_only"
  set -- -o Dir::Etc::SourceList="$main_only" -o Dir::Etc::SourceParts=/nonexistent
  apt-get "$@" update -q
  apt-get "$@" install -y -q --no-install-recommends $need_pkgs
  rm -f "$main_only"
fi
