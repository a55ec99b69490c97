#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for the given number of seconds
# (default 600), two at a time:
#   bash scripts/fuzz.sh          # the long run
#   bash scripts/fuzz.sh 10       # the short run of the test command
# Each target starts from its seeds in fuzz/corpus/<target> and keeps what it
# finds in build-fuzz/corpus/<target>. A crash leaves its input in
# build-fuzz/artifacts and makes the script fail; make it a regular test.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
ensure_packages cmake make clang libclang-rt-14-dev python3

seconds=${1:-600}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DMALVET_FUZZ=ON -DBUILD_TESTING=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j"$(nproc)" >/dev/null
mkdir -p build-fuzz/artifacts

# The targets work in a folder of their own: every path given them is absolute.
top=$PWD
run_target() {
  local target=$1 corpus=$top/build-fuzz/corpus/$1
  mkdir -p "$corpus"
  if "$top/build-fuzz/${target}_fuzz" "$corpus" "$top/fuzz/corpus/$target" \
      -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=20000 \
      -artifact_prefix="$top/build-fuzz/artifacts/$target-" > "build-fuzz/$target.log" 2>&1; then
    echo "fuzz $target: ${seconds}s, $(ls "$corpus" | wc -l) inputs in its corpus, no finding"
  else
    echo "fuzz $target: FINDING, see build-fuzz/$target.log and build-fuzz/artifacts"
    return 1
  fi
}

status=0
targets=(settings_line controls tables sibling regfile listing)
for ((i = 0; i < ${#targets[@]}; i += 2)); do
  run_target "${targets[i]}" & first=$!
  run_target "${targets[i + 1]}" & second=$!
  wait "$first" || status=1
  wait "$second" || status=1
done
exit $status
