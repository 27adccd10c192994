#!/usr/bin/env bash
# Builds Mirawen and opens its window on the bundled sample word lists.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=SCRIPTDIR/lib.sh
. tools/lib.sh

tools/install-deps.sh
configure default
cmake --build --preset default --target mirawen mirawen-lookup

# The program reads its lists and its font from the current folder.
run=build/run
mkdir -p "$run"
cp samples/大学四级.txt samples/大学六级.txt res/TOPhonetic.ttf "$run"/
cd "$run"

if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
  echo "No display to open the window on (DISPLAY is not set)." >&2
  echo "Run this on a desktop, or in a virtual X server:  xvfb-run -a tools/run.sh" >&2
  echo "Meanwhile, the same search on the command line (the words that sound like 'ship'):" >&2
  ../cli/mirawen-lookup --ipa 5ip
  exit 1
fi
exec ../app/mirawen
