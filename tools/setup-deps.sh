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
check xwd x11-apps
check eyeD3 eyed3
check id3v2 id3v2
check lame lame
check mpg123 mpg123
check mediainfo mediainfo
check mp3info mp3info
# lame_enc.dll is built from Debian's lame source package (tools/fetch-lame.sh).
check dpkg-source dpkg-dev
check python3 python3
[ -f /usr/lib/i386-linux-gnu/wine/i386-windows/stdole2.tlb ] || need_pkgs="$need_pkgs wine32:i386"
# Wine's MP3 playback decodes through GStreamer.
[ -f /usr/lib/i386-linux-gnu/gstreamer-1.0/libgstplayback.so ] || need_pkgs="$need_pkgs gstreamer1.0-plugins-base:i386"
[ -f /usr/lib/i386-linux-gnu/gstreamer-1.0/libgstmpg123.so ] || need_pkgs="$need_pkgs gstreamer1.0-plugins-good:i386"
# Wine draws the caption buttons of every window with the Marlett font, which
# the wine package only recommends.
[ -f /usr/share/wine/fonts/marlett.ttf ] || need_pkgs="$need_pkgs fonts-wine"
[ -f /usr/src/googletest/CMakeLists.txt ] || need_pkgs="$need_pkgs googletest"
[ -f /usr/lib/x86_64-linux-gnu/cmake/GTest/GTestConfig.cmake ] || need_pkgs="$need_pkgs libgtest-dev"
# Compressed tag frames inflate through zlib: the system's natively, Debian's
# mingw build linked statically into the tag library's DLL.
[ -f /usr/include/zlib.h ] || need_pkgs="$need_pkgs zlib1g-dev"
[ -f /usr/i686-w64-mingw32/lib/libz.a ] || need_pkgs="$need_pkgs libz-mingw-w64-dev"
# libdiscid is the oracle of the ripper's disc id tests.
[ -f /usr/include/discid/discid.h ] || need_pkgs="$need_pkgs libdiscid-dev"
/usr/bin/python3 -c 'import mutagen' 2>/dev/null || need_pkgs="$need_pkgs python3-mutagen"
# The comments wizard's tests mail a real SMTP server on 127.0.0.1.
/usr/bin/python3 -c 'import aiosmtpd' 2>/dev/null || need_pkgs="$need_pkgs python3-aiosmtpd"
# The help file is compiled by a Pascal program over Free Pascal's CHM
# writer, read back by chmlib, and compared with what chmcmd makes.
check fpc fp-compiler
has_file() { for f in "$@"; do [ -f "$f" ] && return 0; done; return 1; }
has_file /usr/lib/*/fpc/*/units/*/chm/chmwriter.ppu || need_pkgs="$need_pkgs fp-units-misc"
# The writer's lists, trees and streams come from the component library.
has_file /usr/lib/*/fpc/*/units/*/fcl-base/contnrs.ppu || need_pkgs="$need_pkgs fp-units-fcl"
check chmcmd fp-utils
/usr/bin/python3 -c 'import chm.chmlib' 2>/dev/null || need_pkgs="$need_pkgs python3-chm"

# Wine takes the ANSI code page and the encoding of Unix file names from the
# locale. The Makefile's en_US.UTF-8 gives code page 1252 and UTF-8 names;
# where that locale is not generated, Wine cannot see a file whose name has
# an "é" or a "€" at all.
locale_ready() { locale -a 2>/dev/null | grep -qix 'en_US\.utf-\?8'; }
need_locale=""
if ! locale_ready; then
  need_locale=yes
  check locale-gen locales
fi

# The encoder's source, beside the build trees (any user can fetch it).
fetch_lame() {
  sh "$(dirname "$0")/fetch-lame.sh" "${CORVELLA_LAME_DIR:-$(dirname "$0")/../build/lame}"
}

if [ -z "$need_pkgs$need_locale" ]; then
  fetch_lame
  exec sh "$(dirname "$0")/i386-exec.sh"
fi
if [ "$(id -u)" != 0 ]; then
  [ -n "$need_pkgs" ] && echo "missing Debian packages:$need_pkgs (run as root, or install them)" >&2
  [ -n "$need_locale" ] && echo "the locale en_US.UTF-8 is not generated (run as root, or add it)" >&2
  exit 1
fi

if [ -n "$need_pkgs" ]; then
  echo "installing:$need_pkgs"
  export DEBIAN_FRONTEND=noninteractive
  # Another install on the machine (a second build tree's set-up) holds the
  # package lock for a while: wait for it instead of failing.
  export APT_CONFIG_LOCK="-o DPkg::Lock::Timeout=600"
  case "$need_pkgs" in *:i386*) dpkg --add-architecture i386 ;; esac
  # A mirror in the middle of a sync fails one index now and then (seen with
  # the security suite's i386 list). Then the amd64 and i386 halves of a
  # multi-arch library cannot be matched, so the install is retried against
  # the main suites alone, where both architectures carry the same versions.
  apt-get $APT_CONFIG_LOCK update -q || echo "apt-get update reported errors; trying the install anyway"
  if ! apt-get $APT_CONFIG_LOCK install -y -q --no-install-recommends $need_pkgs; then
    main_only=$(mktemp)
    printf 'deb http://deb.debian.org/debian bookworm main\ndeb http://deb.debian.org/debian bookworm-updates main\n' >"$main_only"
    set -- -o Dir::Etc::SourceList="$main_only" -o Dir::Etc::SourceParts=/nonexistent
    apt-get $APT_CONFIG_LOCK "$@" update -q
    apt-get $APT_CONFIG_LOCK "$@" install -y -q --no-install-recommends $need_pkgs
    rm -f "$main_only"
  fi
fi

if [ -n "$need_locale" ]; then
  grep -q '^en_US.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null || echo 'en_US.UTF-8 UTF-8' >>/etc/locale.gen
  locale-gen >/dev/null
  locale_ready || { echo "the locale en_US.UTF-8 could not be generated" >&2; exit 1; }
  echo "generated the locale en_US.UTF-8"
fi

fetch_lame
sh "$(dirname "$0")/i386-exec.sh"
