#!/bin/sh
# Fetches Debian's `lame` source package (the encoder that lame_enc.dll is
# built from) into the folder given, as any user: apt-get works there with a
# source list and package lists of its own, so neither the system's lists
# nor root are needed. Does nothing when the source is already there.
set -e
dest=${1:?usage: fetch-lame.sh FOLDER}
[ -f "$dest/source/Dll/BladeMP3EncDLL.c" ] && exit 0
command -v dpkg-source >/dev/null 2>&1 || { echo "dpkg-source (dpkg-dev) is missing" >&2; exit 1; }
apt_dir="$dest/apt"
rm -rf "$dest/source" "$dest/download"
mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$dest/download"
printf 'deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm main\n' \
  >"$apt_dir/sources.list"
set -- -o Dir::Etc::SourceList="$(cd "$apt_dir" && pwd)/sources.list" \
       -o Dir::Etc::SourceParts=/nonexistent \
       -o Dir::State::Lists="$(cd "$apt_dir" && pwd)/lists" \
       -o Dir::Cache="$(cd "$apt_dir" && pwd)/cache" \
       -o Debug::NoLocking=1 \
       -o APT::Sandbox::User="$(id -un)"
apt-get "$@" -q update >/dev/null
(cd "$dest/download" && apt-get "$@" -q source --download-only lame >/dev/null)
# apt-get checked the files against the signed package index already.
dpkg-source --no-check -x "$dest"/download/lame_*.dsc "$dest/source" >/dev/null
echo "lame source: $(cd "$dest/source" && pwd)"
