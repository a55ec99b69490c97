#!/usr/bin/env bash
# Times Tavlet on the example installation and on generated controls.ini
# files of growing size, beside the time of starting a program that does
# nothing. Not a test: it prints, it does not judge.
#   bash bench/bench.sh [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-20}
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target Tavlet data_tables >/dev/null

demo=$(mktemp -d)
trap 'rm -rf "$demo"' EXIT
cp -r examples/. "$demo"
work="$demo/Tools/Malvet"
cp build/Tavlet build/*.txt "$work"
: > "$demo/answers.txt"
export MALVET_REGISTRY="$demo/registry.reg" MALVET_JOYSTICKS="$demo/joysticks.txt"
export MALVET_DIALOGS="$demo/answers.txt" MALVET_DIALOG_LOG=/dev/null
printf 'int main() { return 0; }\n' > "$demo/noop.c"
cc -O2 -o "$demo/noop" "$demo/noop.c"

# Average milliseconds of one run of the command.
time_ms() {
  local start end
  start=$(date +%s%N)
  for ((i = 0; i < runs; i++)); do "$@" >/dev/null 2>&1; done
  end=$(date +%s%N)
  echo "scale=2; ($end - $start) / 1000000 / $runs" | bc
}

cd "$work"
pilot3="$demo/Users/Ann/Documents/Aerlon3/Pilots/Ann/controls.ini"
printf '%-34s %10s\n' "run" "ms"
printf '%-34s %10s\n' "program doing nothing" "$(time_ms "$demo/noop")"
printf '%-34s %10s\n' "Tavlet, example installation" "$(time_ms ./Tavlet)"
cp "$pilot3" "$demo/controls.ini.example"
for lines in 25000 50000 100000 200000; do
  { echo "[Keyboard]"; for ((n = 0; n < lines; n++)); do echo "$((3101 + n % 60))=$((n % 88 + 1))"; done; } \
    | sed 's/$/\r/' > "$pilot3"
  printf '%-34s %10s\n' "Tavlet, controls.ini of $lines lines" "$(time_ms ./Tavlet)"
done
cp "$demo/controls.ini.example" "$pilot3"
