#!/usr/bin/env bash
# Runs the real program in a virtual X server, in a folder holding the sample
# lists and the font, and uses it from the keyboard as a user would: search
# for ‹5ip›, open the About box from the window menu (a right click on the
# background, then A) and close it with Escape, then press Escape and answer
# the question with Enter (Yes). The program must then end by itself with
# status 0.
# Usage: smoke.sh PROGRAM SAMPLES_DIR FONT_FILE   (run under xvfb-run)
set -euo pipefail
program=$1 samples=$2 font=$3

work=$(mktemp -d)
pid=
cleanup() {
  [[ -n $pid ]] && kill "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
cp "$samples"/大学四级.txt "$samples"/大学六级.txt "$font" "$work"/
cd "$work"

# Without a window manager nobody gives a new window the keyboard, so each
# window is focused by hand before it is typed into.
focus() {
  window=$(timeout 30 xdotool search --sync --onlyvisible --name "$1" | head -n 1)
  [[ -n $window ]] || { echo "smoke: no window named $1" >&2; exit 1; }
  xdotool windowfocus --sync "$window"
}

"$program" &
pid=$!
focus '^Mirawen 1\.0$'
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
focus '^关于 Mirawen$'
xdotool key Escape
timeout 30 bash -c "while xdotool search --onlyvisible --name '^关于 Mirawen\$' >/dev/null; do sleep 0.1; done"

focus '^Mirawen 1\.0$'
xdotool key Escape
focus '^确定$'
xdotool key Return

for _ in $(seq 300); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  echo "smoke: the program did not end after Escape and Yes" >&2
  exit 1
fi
status=0
wait "$pid" || status=$?
pid=
echo "smoke: the program ended with status $status"
exit "$status"
