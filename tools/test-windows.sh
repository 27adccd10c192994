#!/usr/bin/env bash
# Builds the Windows programs (tools/build-windows.sh) and runs every Windows
# test under Wine in a virtual X server: `ctest --preset windows` runs the
# GoogleTest suites (one CTest test each), the real-window smoke test and the
# installer's round trip, one at a time, and its summary ends the output.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=SCRIPTDIR/lib.sh
. tools/lib.sh
root=$PWD

if [[ ${1:-} != --in-x ]]; then
  packages=(
    wine wine64 fonts-wine               # only 64-bit Wine: the programs are 64-bit
    xvfb xauth xdotool x11-apps          # the virtual X server, the smoke test's keys and xwd
    fonts-wqy-microhei                   # a face for the dialogs' Chinese under Wine
  )
  ensure_packages --no-recommends "${packages[@]}"
  tools/build-windows.sh
fi

wine_environment "$root/build-windows/wineprefix"

if [[ ${1:-} != --in-x ]]; then
  ensure_wine_prefix
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" --in-x
fi

# CTest runs the tests one at a time (they share the display and one
# wineserver, which its first test starts and its last ends).
exec ctest --preset windows
