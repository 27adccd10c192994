#!/usr/bin/env bash
# Runs the real program in a virtual X server, in a folder holding the sample
# lists and the font, and uses it from the keyboard as a user would: search
# for ‹5ip›, open the About box from the window menu (a right click on the
# background, then A) and close it with Escape, then press Escape and answer
# the question with Enter (Yes). The program must then end by itself with
# status 0. Then speech: with a private PulseAudio whose only sink is a null
# one, Ctrl+R on the list must make sound there; with no sound server at all
# Ctrl+R gives one notice however often it is pressed, and the window still
# closes with status 0. Without pulseaudio, sox or espeak-ng those parts say
# they are skipped.
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

# close_window: Escape, Yes, and the program's status must be 0.
close_window() {
  focus 'Mirawen 1.0'
  xdotool key Escape
  focus '确定'
  xdotool key Return
  wait_exit "$pid" || fail "the program did not end after Escape and Yes"
  local status=0
  wait "$pid" || status=$?
  pid=
  echo "smoke: the program ended with status $status"
  ((status == 0)) || exit "$status"
}

# speak_first_match: finds ‹5ip› and presses Ctrl+R on the list.
speak_first_match() {
  focus 'Mirawen 1.0'
  xdotool type --delay 30 5ip
  xdotool key Return ctrl+r
}

close_window

for tool in pulseaudio pactl parecord sox espeak-ng; do
  if ! command -v "$tool" >/dev/null; then
    echo "smoke: speech skipped, $tool is missing"
    exit 0
  fi
done
start_null_sink || fail "the sound server did not start"
parecord -d nullsink.monitor --file-format=wav "$work/heard.wav" &
record=$!
# shellcheck disable=SC2016 # expanded at exit
at_exit '[[ -z $record ]] || kill "$record" 2>/dev/null'

start_program "$program"
speak_first_match
sleep 3
kill "$record"
wait "$record" || true
record=
rms=$(sox "$work/heard.wav" -n stat 2>&1 | awk '/^RMS +amplitude/ { print $3 }')
echo "smoke: the null sink heard RMS amplitude ${rms:-none}"
awk -v rms="${rms:-0}" 'BEGIN { exit !(rms > 0.005) }' || fail "Ctrl+R made no sound"
close_window

# No sound server: one notice, the window usable.
stop_null_sink
start_program "$program"
speak_first_match
focus 'Mirawen'
xdotool key Return
wait_gone 'Mirawen' || fail "the speech notice did not close"
focus 'Mirawen 1.0'
xdotool key ctrl+r
sleep 2
[[ -z $(window_id 'Mirawen') ]] || fail "a second speech notice came"
close_window
