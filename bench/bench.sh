#!/usr/bin/env bash
# Times Tavlet on the example installation and on generated controls.ini
# files of growing size, beside the time of starting a program that does
# nothing and beside Tavlet as it was before it wrote Controls.html (built
# from the commit `baseline`). Not a test: it prints, it does not judge. The
# page must keep the example's run within 1.2 times the baseline's (and its
# print, narrow and night layouts within 1.25 times the run before them,
# 988c83e), and the time per line flat as the files grow.
# The temporary installation lies in TMPDIR (/tmp by default): on a
# memory-backed one (TMPDIR=/dev/shm) the times leave out the disk's.
#   bash bench/bench.sh [runs] [baseline]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-20}
baseline=${2:-4333dbf}
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target Tavlet data_tables >/dev/null

demo=$(mktemp -d)
cleanup() {
  git worktree remove --force "$demo/baseline-src" 2>/dev/null || true
  rm -rf "$demo"
}
trap cleanup EXIT

# The baseline, built from its own sources.
git worktree add --detach "$demo/baseline-src" "$baseline" >/dev/null 2>&1
cmake -S "$demo/baseline-src" -B "$demo/baseline-build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DBUILD_TESTING=OFF >/dev/null
cmake --build "$demo/baseline-build" -j"$(nproc)" --target Tavlet >/dev/null

cp -r examples/. "$demo"
work="$demo/Tools/Malvet"
cp build/Tavlet build/CMD*.txt build/SCN*.txt "$work"
cp "$demo/baseline-build/Tavlet" "$work/Tavlet-baseline"
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
printf '%-36s %10s %10s %8s\n' "run" "ms" "baseline" "ratio"
# Both programs in turns, five times; the best time of each, so that what
# else the machine does weighs on neither.
row() {
  local now=999999 before=999999 t
  for ((batch = 0; batch < 5; batch++)); do
    t=$(time_ms ./Tavlet-baseline)
    if (($(echo "$t < $before" | bc))); then before=$t; fi
    t=$(time_ms ./Tavlet)
    if (($(echo "$t < $now" | bc))); then now=$t; fi
  done
  printf '%-36s %10s %10s %8s\n' "$1" "$now" "$before" "$(echo "scale=2; $now / $before" | bc)"
}
printf '%-36s %10s\n' "program doing nothing" "$(time_ms "$demo/noop")"
row "Tavlet, example installation"
cp "$pilot3" "$demo/controls.ini.example"
for lines in 25000 50000 100000 200000; do
  { echo "[Keyboard]"; for ((n = 0; n < lines; n++)); do echo "$((3101 + n % 60))=$((n % 88 + 1))"; done; } \
    | sed 's/$/\r/' > "$pilot3"
  row "Tavlet, controls.ini of $lines lines"
done
cp "$demo/controls.ini.example" "$pilot3"
