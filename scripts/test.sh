#!/usr/bin/env bash
# Builds the Linux and the Windows targets and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
ensure_packages cmake make g++ libgtest-dev g++-mingw-w64-x86-64

jobs=$(nproc)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"

# The Windows executables, so that the Win32 half of the platform layer is
# compiled with every change.
cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build-win -j"$jobs"

cd build
ctest --output-on-failure -j"$jobs"
