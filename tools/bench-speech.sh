#!/usr/bin/env bash
# Times speech in the window: from a double click on a row to the first
# samples written to the sound device, the median over 20 words, played to a
# private PulseAudio's null sink (its own runtime folder and home, so no
# user's session is touched). Figures are printed, never judged.
#
#   tools/bench-speech.sh [BUILD-DIR [LISTS-DIR]]
#
# Without BUILD-DIR (or with an empty one), build/ is configured with the
# benchmarks on and bench/mirawen-bench-speech is built in it first. LISTS-DIR
# holds the lists (default: the bundled samples).
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=SCRIPTDIR/lib.sh
. tools/lib.sh

build=${1:-}
lists=${2:-samples}
if [[ -z $build ]]; then
    build=build
    build_for_bench mirawen-bench-speech
fi
bench=$build/bench/mirawen-bench-speech
[[ -x $bench ]] || die "build $bench first"
ensure_packages espeak-ng pulseaudio pulseaudio-utils

make_work_dir
cp "$lists"/大学四级.txt "$lists"/大学六级.txt res/TOPhonetic.ttf "$work"/
start_null_sink || die "the sound server did not start"
"$bench" "$work"
