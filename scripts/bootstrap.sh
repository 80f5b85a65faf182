#!/usr/bin/env bash
# Installs everything the builds and tests need, once; later calls return in a second or two.
# Debian packages (with i386 for Wine's 32-bit side and deb-src for the source packages),
# then the Windows builds (win32 and win64) of minizip, libdeflate, libjpeg-turbo and GoogleTest
# into the git-ignored .deps/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

packages=(
  build-essential cmake ninja-build pkg-config git
  mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix libz-mingw-w64-dev
  wine wine32:i386 wine64 xvfb xauth python3
  zlib1g-dev libminizip-dev libdeflate-dev libjpeg62-turbo-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  cabextract zip unzip p7zip-full dpkg-dev nasm osslsigncode openssl zopfli
)

sudo_() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "bootstrap: installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    sudo_ dpkg --add-architecture i386
  fi
  sudo_ apt-get update -qq
  sudo_ env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The Windows libraries are built from Debian's source packages.
if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
  # The source packages come from the same place as this machine's own binary packages.
  "$root/scripts/deb-src-entry.sh" | sudo_ tee /etc/apt/sources.list.d/averlune-src.sources >/dev/null
  sudo_ apt-get update -qq
fi

"$root/scripts/build-windows-deps.sh"
