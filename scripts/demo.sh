#!/usr/bin/env bash
# Builds the programs and runs them on the delivered tables.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
ensure_packages cmake make g++ libgtest-dev

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target Tavlet Brin23 data_tables

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp build/Tavlet build/Brin23 build/*.txt "$work"
cd "$work"
./Tavlet
./Brin23
