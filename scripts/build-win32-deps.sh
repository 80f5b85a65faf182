#!/usr/bin/env bash
# Builds the win32 (mingw-w64 i686, static) libraries that Debian does not ship for that target,
# from Debian's own sources, into .deps/win32: minizip (zlib's contrib/minizip), libjpeg-turbo
# (SIMD off) and GoogleTest. Each library has a stamp file, so a second call does nothing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deps="$root/.deps"
prefix="$deps/win32"
src="$deps/src"
toolchain="$root/cmake/mingw-i686.cmake"
mkdir -p "$prefix/include" "$prefix/lib" "$src"

fetch_source() { # package -> prints the unpacked source folder
  local pkg=$1
  local dir
  dir=$(find "$src" -maxdepth 1 -type d -name "$pkg-*" | head -n 1)
  if [ -z "$dir" ]; then
    (cd "$src" && apt-get source -qq "$pkg" >/dev/null 2>&1) || { echo "apt-get source $pkg failed" >&2; exit 1; }
    dir=$(find "$src" -maxdepth 1 -type d -name "$pkg-*" | head -n 1)
  fi
  echo "$dir"
}

if [ ! -f "$prefix/.minizip" ]; then
  echo "deps: minizip for win32"
  zsrc=$(fetch_source zlib)
  mz="$zsrc/contrib/minizip"
  obj="$deps/build/minizip"; mkdir -p "$obj"
  for f in ioapi unzip zip iowin32; do
    i686-w64-mingw32-gcc-posix -O2 -DNOCRYPT -DNOUNCRYPT -c "$mz/$f.c" -o "$obj/$f.o"
  done
  i686-w64-mingw32-ar rcs "$prefix/lib/libminizip.a" "$obj"/*.o
  mkdir -p "$prefix/include/minizip"
  cp "$mz"/{ioapi,unzip,zip,iowin32}.h "$prefix/include/minizip/"
  touch "$prefix/.minizip"
fi

if [ ! -f "$prefix/.libjpeg" ]; then
  echo "deps: libjpeg-turbo for win32"
  jsrc=$(fetch_source libjpeg-turbo)
  cmake -S "$jsrc" -B "$deps/build/libjpeg" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DWITH_SIMD=OFF \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF -Wno-dev >/dev/null
  cmake --build "$deps/build/libjpeg" --target install >/dev/null
  touch "$prefix/.libjpeg"
fi

if [ ! -f "$prefix/.gtest" ]; then
  echo "deps: GoogleTest for win32"
  cmake -S /usr/src/googletest -B "$deps/build/gtest" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -Dgtest_disable_pthreads=OFF >/dev/null
  cmake --build "$deps/build/gtest" --target install >/dev/null
  touch "$prefix/.gtest"
fi
