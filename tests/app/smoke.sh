#!/usr/bin/env bash
# Runs the real program in a virtual X server, in a folder holding the sample
# lists and the font, and uses it from the keyboard as a user would: search
# for ‹5ip›, open the About box from the window menu (a right click on the
# background, then A) and close it with Escape, then press Escape and answer
# the question with Enter (Yes). The program must then end by itself with
# status 0.
# Usage: smoke.sh PROGRAM SAMPLES_DIR FONT_FILE   (run under xvfb-run)
set -euo pipefail
# shellcheck source=SCRIPTDIR/../support/xwindow.sh
. "$(dirname "$0")/../support/xwindow.sh"
program=$1 samples=$2 font=$3

make_work_dir
cp "$samples"/大学四级.txt "$samples"/大学六级.txt "$font" "$work"/
cd "$work"

start_program "$program"
focus 'Mirawen 1.0'
main=$window
xdotool type --delay 30 5ip
xdotool key Return

eval "$(xdotool getwindowgeometry --shell "$main")"
shown=$(xdotool search --onlyvisible --pid "$pid" | wc -l)
xdotool mousemove --window "$main" $((WIDTH - 8)) 8 click 3
# The menu has no title to find it by: wait until the program shows one
# window more.
timeout 30 bash -c "while (( \$(xdotool search --onlyvisible --pid $pid | wc -l) <= $shown )); do sleep 0.1; done"
xdotool key a
focus '关于 Mirawen'
xdotool key Escape
wait_gone '关于 Mirawen' 30 || fail "Escape did not close the About box"

focus 'Mirawen 1.0'
xdotool key Escape
focus '确定'
xdotool key Return

wait_exit "$pid" || fail "the program did not end after Escape and Yes"
status=0
wait "$pid" || status=$?
pid=
echo "smoke: the program ended with status $status"
exit "$status"
