#!/usr/bin/env bash
# Builds the Linux and the Windows targets and runs every test: the unit
# tests, the end-to-end tests of the Linux build, the same end-to-end tests
# of the Windows build under Wine (in a fresh Wine prefix made in a
# temporary folder), the reference card in headless Chromium, all unit and
# end-to-end tests again in a build with AddressSanitizer and
# UndefinedBehaviorSanitizer, and a short run of every fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
ensure_packages cmake make g++ libgtest-dev g++-mingw-w64-x86-64 wine wine64 clang \
  libclang-rt-14-dev python3 python3-selenium chromium chromium-driver python3-pefile \
  poppler-utils fonts-dejavu-core fonts-liberation
# The reference card's checkers (axe-core, the Nu Html Checker), at the
# versions of their lock file, without their install scripts: the Nu Html
# Checker runs on Debian's Java.
command -v npm >/dev/null || ensure_packages nodejs npm
command -v java >/dev/null || ensure_packages default-jre-headless
(cd tests/browser && npm ci --ignore-scripts --no-audit --no-fund >/dev/null)
# The regions the Windows tests stage under Wine: France's and the US's
# language and list separator, Central Europe's code page, Germany's list
# separator.
ensure_locales fr_FR.UTF-8 en_US.UTF-8 pl_PL.UTF-8 de_DE.UTF-8

jobs=$(nproc)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"

# The Windows executables and the release zip, made twice in two folders:
# the same bytes both times.
first=$(bash scripts/package.sh build-win | tail -n 1)
second=$(bash scripts/package.sh build-win-again | tail -n 1)
echo "Release: $first"
if [ "$first" != "$second" ]; then
  echo "The release zip differs between two builds of the same sources: $second"
  exit 1
fi

wine_dir=$(mktemp -d)
export WINEPREFIX="$wine_dir/prefix" WINEDEBUG=-all
export MALVET_WINDOWS_BUILD="$PWD/build-win"
cleanup() {
  wineserver -k 2>/dev/null || true
  rm -rf "$wine_dir"
}
trap cleanup EXIT
echo "Making a Wine prefix in $WINEPREFIX"
wine wineboot -i >/dev/null 2>&1
wineserver -p 2>/dev/null || true  # kept running between the tests

# A short run of every fuzz target (scripts/fuzz.sh without a number is the
# long one).
bash scripts/fuzz.sh 10

# The sanitizer build: the programs and tests again, checked as they run.
cmake -S . -B build-asan -DMALVET_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-asan -j"$jobs"
(cd build-asan && ctest --output-on-failure -j"$jobs" -E '^Windows\.')

# Every test of the Linux build, and the Windows build's under Wine.
cd build
ctest --output-on-failure -j"$jobs" | tee ctest-output.txt
passed=$(grep -cE 'Test +#[0-9]+: .* Passed' ctest-output.txt || true)
skipped=$(grep -cE 'Test +#[0-9]+: .*\*\*\*Skipped' ctest-output.txt || true)
echo "$passed passed, 0 failed, $skipped skipped"
