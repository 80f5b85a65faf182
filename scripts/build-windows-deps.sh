#!/usr/bin/env bash
# Builds the Windows libraries that Debian does not ship for mingw-w64, from Debian's own sources,
# static, for both Windows builds: .deps/win32 (i686, the product) and .deps/win64 (x86_64, how
# the same code is tested where 32-bit programs cannot run). The libraries: minizip (zlib's
# contrib/minizip), libdeflate (its whole-buffer inflater, deflater and CRC-32; the setup links only
# the inflater, the builder's code that the Windows tests run the deflater), libjpeg-turbo (SIMD
# off, built for size) and GoogleTest. Each has a stamp file, so a second call does nothing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deps="$root/.deps"
src="$deps/src"
mkdir -p "$src"

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

build_for() { # build name, compiler triplet, toolchain file
  local name=$1 triplet=$2 toolchain=$3
  local prefix="$deps/$name" work="$deps/build/$name"
  mkdir -p "$prefix/include" "$prefix/lib" "$work"

  if [ ! -f "$prefix/.minizip-small" ]; then
    echo "deps: minizip for $name"
    local mz
    mz="$(fetch_source zlib)/contrib/minizip"
    mkdir -p "$work/minizip"
    for f in ioapi unzip zip iowin32; do
      "$triplet-gcc-posix" -Os -ffunction-sections -fdata-sections -fno-asynchronous-unwind-tables \
        -DNOCRYPT -DNOUNCRYPT -c "$mz/$f.c" -o "$work/minizip/$f.o"
    done
    "$triplet-ar" rcs "$prefix/lib/libminizip.a" "$work/minizip"/*.o
    mkdir -p "$prefix/include/minizip"
    cp "$mz"/{ioapi,unzip,zip,iowin32}.h "$prefix/include/minizip/"
    touch "$prefix/.minizip-small"
  fi

  if [ ! -f "$prefix/.libdeflate-both-ways" ]; then
    echo "deps: libdeflate for $name"
    local ld
    ld=$(fetch_source libdeflate)
    rm -rf "$work/libdeflate"
    mkdir -p "$work/libdeflate"
    for f in deflate_compress deflate_decompress crc32 utils x86/cpu_features; do
      "$triplet-gcc-posix" -O2 -ffunction-sections -fdata-sections -fno-asynchronous-unwind-tables -I"$ld" \
        -c "$ld/lib/$f.c" -o "$work/libdeflate/${f//\//_}.o"
    done
    rm -f "$prefix/lib/libdeflate.a"
    "$triplet-ar" rcs "$prefix/lib/libdeflate.a" "$work/libdeflate"/*.o
    cp "$ld/libdeflate.h" "$prefix/include/"
    touch "$prefix/.libdeflate-both-ways"
  fi

  # Built for size: every setup and uninstaller carries the decoder. Without the memory-limit
  # variable (read through sscanf) and with the C runtime's own printf family, it brings neither
  # the compiler's scanf nor its printf (about 100 KB together) into the programs; errors leave it
  # by longjmp, so it needs no unwind tables. Left out are the decoder options the programs never
  # ask for: the two faster, less accurate inverse DCTs, output scaling, merged (non-smoothing)
  # upsampling and colour quantisation. Every JPEG picture decodes as before.
  if [ ! -f "$prefix/.libjpeg-small" ]; then
    echo "deps: libjpeg-turbo for $name"
    local jsrc
    jsrc=$(fetch_source libjpeg-turbo)
    sed -i -E 's/^#define (DCT_IFAST|DCT_FLOAT|IDCT_SCALING|UPSAMPLE_MERGING|QUANT_1PASS|QUANT_2PASS)_SUPPORTED/#undef \1_SUPPORTED/' \
      "$jsrc/jmorecfg.h"
    rm -rf "$work/libjpeg"
    cmake -S "$jsrc" -B "$work/libjpeg" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
      -DCMAKE_BUILD_TYPE=MinSizeRel -DCMAKE_INSTALL_PREFIX="$prefix" -DWITH_SIMD=OFF \
      -DCMAKE_C_FLAGS="-DNO_GETENV -D__USE_MINGW_ANSI_STDIO=0 -ffunction-sections -fdata-sections -fno-asynchronous-unwind-tables" \
      -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF -Wno-dev >/dev/null
    cmake --build "$work/libjpeg" --target install >/dev/null
    touch "$prefix/.libjpeg-small"
  fi

  if [ ! -f "$prefix/.gtest" ]; then
    echo "deps: GoogleTest for $name"
    cmake -S /usr/src/googletest -B "$work/gtest" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
      -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -Dgtest_disable_pthreads=OFF >/dev/null
    cmake --build "$work/gtest" --target install >/dev/null
    touch "$prefix/.gtest"
  fi
}

build_for win32 i686-w64-mingw32 "$root/cmake/mingw-i686.cmake"
build_for win64 x86_64-w64-mingw32 "$root/cmake/mingw-x86_64.cmake"
