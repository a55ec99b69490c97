#!/usr/bin/env bash
# Builds the programs and runs them on a fresh copy of the example
# installation in examples/: Tavlet writes the report (the final question is
# answered no), which is shown here converted to UTF-8; then Brin23 converts
# the version-2 controls.ini to version 3, keeping a numbered backup, and
# its receipt, every binding by name, is shown. The reference card that
# Tavlet drew, the receipt and both programs' console traces are kept in
# build/demo/, named last.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
. scripts/packages.sh
ensure_packages cmake make g++ libgtest-dev python3

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

kept="$repo/build/demo"
rm -rf "$kept"
mkdir -p "$kept"
cd "$work"
echo "== Tavlet"
./Tavlet > "$kept/tavlet-console.txt"
echo "== Controls.txt"
iconv -f CP1252 -t UTF-8 Controls.txt
echo "== Dialogs"
iconv -f CP1252 -t UTF-8 "$MALVET_DIALOG_LOG"

echo "== Brin23"
./Brin23 > "$kept/brin23-console.txt"
pilot3="$demo/Users/Ann/Documents/Aerlon3/Pilots/Ann"
echo "== Numbered backups of the version-3 controls.ini"
ls "$pilot3" | grep '_[0-9]*\.bak$'
echo "== Brin23's receipt: what became of every binding, by name"
cp Brin23_*_receipt.txt "$kept/Brin23-receipt.txt"
tr -d '\r' < "$kept/Brin23-receipt.txt"

cp "$work/Controls.html" "$kept/Controls.html"
echo "== Kept in $kept:"
echo "   Controls.html      the reference card Tavlet drew, to open in a browser"
echo "   Brin23-receipt.txt Brin23's receipt"
echo "   tavlet-console.txt, brin23-console.txt  the programs' console traces"
