#!/usr/bin/env bash
# Builds the programs and runs them on a fresh copy of the example
# installation in examples/: Tavlet writes the report (the final question is
# answered no), which is shown here converted to UTF-8.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
ensure_packages cmake make g++ libgtest-dev

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target Tavlet Brin23 data_tables >/dev/null

demo=$(mktemp -d)
trap 'rm -rf "$demo"' EXIT
cp -r examples/. "$demo"
work="$demo/Tools/Malvet"
cp build/Tavlet build/Brin23 build/*.txt "$work"
printf 'no\n' > "$demo/answers.txt"
export MALVET_REGISTRY="$demo/registry.reg"
export MALVET_JOYSTICKS="$demo/joysticks.txt"
export MALVET_DIALOGS="$demo/answers.txt"
export MALVET_DIALOG_LOG="$demo/dialogs.log"

cd "$work"
echo "== Tavlet (console trace in $work/tavlet-console.txt)"
./Tavlet > tavlet-console.txt
echo "== Controls.txt"
iconv -f CP1252 -t UTF-8 Controls.txt
echo "== Dialogs"
iconv -f CP1252 -t UTF-8 "$MALVET_DIALOG_LOG"
