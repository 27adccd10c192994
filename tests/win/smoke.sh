#!/usr/bin/env bash
# The real window under Wine, driven by keys from xdotool: it opens, takes a
# search that selects rows, tells once that it cannot speak, opens the About
# box from the system menu, and closes with status 0 after Escape and Yes.
# Run by CTest (the windows preset) inside the virtual X server of
# tools/test-windows.sh:
#
#   smoke.sh PROGRAM.exe [LIST_FOLDER]
#
# It starts in a fresh folder: with LIST_FOLDER's lists and the font from
# beside the program copied in, or empty, so that the program finds its own.
set -uo pipefail
# shellcheck source=SCRIPTDIR/../support/xwindow.sh
. "$(dirname "$0")/../support/xwindow.sh"
program=$1
make_work_dir
if (($# > 1)); then
  cp "$2"/*.txt "$(dirname "$program")/TOPhonetic.ttf" "$work/"
fi

# How many pixels of the screen have the selection's colour 
# COLOR_HIGHLIGHT, 0x3399FF): the selected rows show as such a band.
highlighted() {
  xwd -root -silent | python3 -c '
import struct, sys
d = sys.stdin.buffer.read()
h = struct.unpack(">25I", d[:100])
pixels = d[h[0] + h[19] * 12:]  # past the header and the colour map
print(pixels.count(b"\xfa\x96\x30" if h[7] == 0 else b"\x30\x96\xfa"))'
}

cd "$work" || exit 1
start=$(date +%s%N)
start_program wine "$program"
wait_window "Mirawen 1.0" 10 || fail "the window did not appear"
main=$window
echo "smoke: window after $((($(date +%s%N) - start) / 1000000)) ms"

xdotool windowfocus --sync "$main"
before=$(highlighted)
xdotool type --delay 50 5ip
xdotool key Return
sleep 0.5
[[ -n $(window_id "Mirawen 1.0") ]] || fail "Enter closed the window"
after=$(highlighted)
# Six sample rows begin with 5ip: a band of some 6 x 550 x 20 pixels.
((after - before > 30000)) || fail "5ip and Enter selected no rows ($before, then $after pixels)"

# Speech on the list, which has the keyboard now: Wine's SAPI voice cannot
# speak, which the window says once in a box; later requests are quiet.
xdotool key F5
wait_window "Mirawen" 10 || fail "F5 on the list brought no speech notice"
xdotool windowfocus --sync "$window"
xdotool key Return
wait_gone "Mirawen" 5 || fail "Enter did not close the speech notice"
xdotool windowfocus --sync "$main"
xdotool key F5
sleep 0.5
[[ -z $(window_id "Mirawen") ]] || fail "the speech notice came a second time"
[[ -n $(window_id "Mirawen 1.0") ]] || fail "speech closed the window"

# Wine puts "About Wine" into every system menu, on the letter A too: ours
# is the last entry, which Up reaches from the top.
xdotool key alt+space
sleep 0.3
xdotool key Up Return
wait_window "关于 Mirawen" 10 || fail "the About box did not open"
xdotool key Escape
wait_gone "关于 Mirawen" 5 || fail "Escape did not close the About box"

xdotool windowfocus --sync "$main"
xdotool key Escape
wait_window "确定" 10 || fail "Escape did not ask before closing"
xdotool key Return # Yes, the default
wait "$pid"
status=$?
pid=
((status == 0)) || fail "exit status $status"
echo "smoke: passed"
