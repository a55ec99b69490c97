#!/usr/bin/env bash
# Times Tavlet on the example installation and on generated controls.ini
# files of growing size, beside the time of starting a program that does
# nothing and beside Tavlet as it was before it wrote Controls.html (built
# from the commit `baseline`). Not a test: it prints, it does not judge. The
# page must keep the example's run within 1.2 times the baseline's (and its
# print, narrow and night layouts within 1.25 times the run before them,
# 988c83e), and the time per line flat as the files grow. Then the reading
# of a long controls.ini, CPU and largest memory: Tavlet within 1.1 times
# the CPU of the build that streamed the file before it was held whole
# (b2078e2) on one million bindings, and under 64 MB for 20 million lines,
# as Brin23 converting them (with -keep, the old file as long). Then the
# instructions of the example's run (callgrind, when valgrind is there), in
# English and in French: at most 5.4 million with the whole card.
# The temporary installation lies in TMPDIR (/tmp by default): on a
# memory-backed one (TMPDIR=/dev/shm) the times leave out the disk's.
#   bash bench/bench.sh [runs] [baseline]
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
runs=${1:-20}
baseline=${2:-4333dbf}
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target Tavlet Brin23 data_tables >/dev/null

demo=$(mktemp -d)
cleanup() {
  git worktree remove --force "$demo/baseline-src" 2>/dev/null || true
  git worktree remove --force "$demo/streaming-src" 2>/dev/null || true
  rm -rf "$demo"
}
trap cleanup EXIT

# The baselines, built from their own sources.
build_at() {
  git worktree add --detach "$demo/$2-src" "$1" >/dev/null 2>&1
  cmake -S "$demo/$2-src" -B "$demo/$2-build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBUILD_TESTING=OFF >/dev/null
  cmake --build "$demo/$2-build" -j"$(nproc)" --target Tavlet >/dev/null
}
build_at "$baseline" baseline
build_at b2078e2 streaming

cp -r examples/. "$demo"
work="$demo/Tools/Malvet"
cp build/Tavlet build/Brin23 build/*.txt "$work"
cp "$demo/baseline-build/Tavlet" "$work/Tavlet-baseline"
cp "$demo/streaming-build/Tavlet" "$work/Tavlet-streaming"
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

# CPU seconds (user and system, the best of `tries` runs) and largest
# resident memory of a command.
cpu_and_memory() {
  python3 - "$@" <<'PY'
import resource, subprocess, sys
tries, command = int(sys.argv[1]), sys.argv[2:]
best, peak = None, 0
for _ in range(tries):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime
    best = cpu if best is None else min(best, cpu)
    peak = max(peak, after.ru_maxrss)
print("%8.3f s %8d KB" % (best, peak))
PY
}
# Lines of bindings: "[Keyboard]" and then `count` of them.
bindings() {
  python3 - "$1" "$2" <<'PY'
import sys
count, first = int(sys.argv[1]), int(sys.argv[2])
with open(1, "w", newline="") as out:
    out.write("[Keyboard]\r\n")
    block = "".join("%d=%d\r\n" % (first + n % 60, n % 88 + 1) for n in range(10000))
    for _ in range(count // 10000):
        out.write(block)
PY
}
printf '\n%-44s %10s %11s\n' "reading a long controls.ini" "CPU" "memory"
bindings 1000000 3101 > "$pilot3"
tries=$((runs < 5 ? runs : 5))
printf '%-44s %s\n' "Tavlet, one million bindings" "$(cpu_and_memory "$tries" ./Tavlet)"
printf '%-44s %s\n' "Tavlet before, streaming (b2078e2)" \
  "$(cpu_and_memory "$tries" ./Tavlet-streaming)"
bindings 20000000 3101 > "$pilot3"
printf '%-44s %s\n' "Tavlet, 20 million bindings" "$(cpu_and_memory 1 ./Tavlet)"
# Brin23 once each: a run replaces the file it reads as old.
cp "$demo/controls.ini.example" "$pilot3"
pilot2="$demo/Users/Ann/Documents/Aerlon/Pilots/Ann/controls.ini"
bindings 20000000 3001 > "$pilot2"
printf '%-44s %s\n' "Brin23 -keep, 20 million bindings" "$(cpu_and_memory 1 ./Brin23 -keep)"
printf '%-44s %s\n' "Brin23, 20 million over 20 million" "$(cpu_and_memory 1 ./Brin23)"
cp "$demo/controls.ini.example" "$pilot3"

# Instructions of the example's run, in a Release build.
if command -v valgrind >/dev/null; then
  cmake -S "$top" -B "$top/build-release" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
  cmake --build "$top/build-release" -j"$(nproc)" --target Tavlet >/dev/null
  cp "$top/build-release/Tavlet" "$work/Tavlet-release"
  printf '\n%-44s %12s\n' "instructions of the example's run" "Ir"
  for language in en_US.UTF-8 fr_FR.UTF-8; do
    ir=$(LC_ALL=$language valgrind --tool=callgrind --callgrind-out-file=/dev/null \
           ./Tavlet-release 2>&1 >/dev/null | sed -n 's/.*Collected : //p')
    printf '%-44s %12s\n' "Tavlet, $language (at most 5400000)" "$ir"
  done
fi
