#!/usr/bin/env bash
# Builds the programs and runs them on a fresh copy of the example
# installation in examples/: Tavlet writes the report (the final question is
# answered no), which is shown here converted to UTF-8; then Brin23 converts
# the version-2 controls.ini to version 3, keeping a numbered backup. The
# reference card that Tavlet drew is kept in build/demo/Controls.html, named
# last, to be opened in a browser.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
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

echo "== Brin23 (console trace in $work/brin23-console.txt)"
./Brin23 > brin23-console.txt
pilot3="$demo/Users/Ann/Documents/Aerlon3/Pilots/Ann"
echo "== Numbered backups of the version-3 controls.ini"
ls "$pilot3" | grep '_[0-9]*\.bak$'
echo "== The version-3 controls.ini, written from version 2 (first lines)"
head -n 12 "$pilot3/controls.ini"

card="$repo/build/demo/Controls.html"
mkdir -p "$(dirname "$card")"
cp "$work/Controls.html" "$card"
echo "== The reference card Tavlet drew, to open in a browser:"
echo "$card"
