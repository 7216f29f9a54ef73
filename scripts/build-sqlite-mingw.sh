#!/usr/bin/env bash
# SQLite for the Windows build: the amalgamation generated from Debian's own source package
# (the same release and patches as the Linux build's libsqlite3), compiled once with
# MinGW-w64 into a static library. The result is cached by version under
# ${VELMORA_CACHE:-$HOME/.cache/velmora}/sqlite3-mingw-<version>; a second run reuses it.
# Prints the cache folder.
set -euo pipefail

cache_root="${VELMORA_CACHE:-$HOME/.cache/velmora}"
version="$(dpkg-query -W -f='${Version}' libsqlite3-dev)"
out="$cache_root/sqlite3-mingw-$version"
if [ -f "$out/lib/libsqlite3.a" ] && [ -f "$out/include/sqlite3.h" ]; then
  echo "$out"
  exit 0
fi

# The source list for apt-get source, beside the binary one the machine already has.
src_list=/etc/apt/sources.list.d/velmora-src.sources
if [ ! -f "$src_list" ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO tee "$src_list" >/dev/null <<'LIST'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
LIST
  $SUDO apt-get update -qq
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
apt-get source -qq "sqlite3=$version" >/dev/null 2>&1
cd sqlite3-*/
# The amalgamation is generated on the build machine (it needs tclsh), then cross-compiled.
mkdir bld && cd bld
../configure --quiet >/dev/null
make -s sqlite3.c >/dev/null
x86_64-w64-mingw32-gcc-posix -O2 -c sqlite3.c -o sqlite3.o \
  -DSQLITE_THREADSAFE=1 -DSQLITE_OMIT_LOAD_EXTENSION -DSQLITE_DEFAULT_FOREIGN_KEYS=0
x86_64-w64-mingw32-ar rcs libsqlite3.a sqlite3.o
mkdir -p "$out.tmp/lib" "$out.tmp/include"
cp libsqlite3.a "$out.tmp/lib/"
cp sqlite3.h sqlite3ext.h "$out.tmp/include/"
rm -rf "$out"
mv "$out.tmp" "$out"
echo "$out"
