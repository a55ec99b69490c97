#!/usr/bin/env bash
# Builds the Windows executables and the release zip:
# build-win/Malvet-<version>-win64.zip with Tavlet.exe, Brin23.exe, the five
# tables and the pilot's guide in English and French.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
ensure_packages cmake make g++-mingw-w64-x86-64

cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build-win -j"$(nproc)"
(cd build-win && cpack -C Release >/dev/null)
ls build-win/Malvet-*-win64.zip
