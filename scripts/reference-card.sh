#!/usr/bin/env bash
# Makes the pictures of the reference card that the README shows
# (docs/reference-card.png on a desktop, -dark.png at night, -tablet.png on
# a tablet, -phone.png on a phone, -kneeboard.png the first of its pages
# for a kneeboard): Tavlet runs on a fresh copy of the example installation
# and headless Chromium takes the pictures of its Controls.html.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
ensure_packages cmake make g++ libgtest-dev chromium chromium-driver python3-selenium \
  fonts-dejavu-core fonts-liberation

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

/usr/bin/python3 scripts/reference-card.py "$work/Controls.html" "$PWD/docs"
