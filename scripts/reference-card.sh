#!/usr/bin/env bash
# Makes docs/reference-card.png, the picture of the reference card that the
# README shows: Tavlet runs on a fresh copy of the example installation and
# headless Chromium takes a screenshot of its Controls.html.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
ensure_packages cmake make g++ libgtest-dev chromium

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target Tavlet data_tables >/dev/null

demo=$(mktemp -d)
trap 'rm -rf "$demo"' EXIT
cp -r examples/. "$demo"
work="$demo/Tools/Malvet"
cp build/Tavlet build/CMD*.txt build/SCN*.txt "$work"
printf 'no\n' > "$demo/answers.txt"
(cd "$work" && LC_ALL=en_US.UTF-8 MALVET_REGISTRY="$demo/registry.reg" \
  MALVET_JOYSTICKS="$demo/joysticks.txt" MALVET_DIALOGS="$demo/answers.txt" \
  ./Tavlet > /dev/null)

chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
  --disable-background-networking --disable-component-update --disable-sync \
  --user-data-dir="$demo/profile" --hide-scrollbars --window-size=1400,1250 \
  --screenshot="$PWD/docs/reference-card.png" "file://$work/Controls.html" 2>/dev/null
echo "docs/reference-card.png made from $work/Controls.html"
