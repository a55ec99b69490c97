#!/usr/bin/env bash
# Builds the Windows executables and the release zip,
# <build>/Malvet-<version>-win64.zip: Tavlet.exe, Brin23.exe, the five
# tables, the pilot's guide in English, French and German, Brin23-check.cmd,
# Brin23-keep.cmd and Brin23-undo.cmd, and SHA256SUMS. The same
# commit gives the same bytes (no time stamps in the executables or the zip);
# the zip's own SHA-256 is printed last.
#   bash scripts/package.sh [build folder, build-win by default]
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
ensure_packages cmake make g++-mingw-w64-x86-64 python3

build=${1:-build-win}
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
name="Malvet-$version-win64"
stage="$build/package/$name"
rm -rf "$build/package" "$build/$name.zip"
cmake --install "$build" --prefix "$stage" >/dev/null
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 1767225600)} \
  /usr/bin/python3 scripts/zip-release.py "$stage" "$build/$name.zip"
