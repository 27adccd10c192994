#!/usr/bin/env bash
# Starts the installed window, unpacked under ROOT, as the menu entry does
# (`mirawen`, no arguments) from an empty folder, with an empty home and only
# ROOT's data folders to search. The window must open with no notice before it
# (so both lists and the font were found) and its list must show rows: the
# list's area of a screenshot holds lines of dark text, where an empty list is
# blank.
# Usage: installed_window.sh ROOT   (run under xvfb-run)
set -euo pipefail
# shellcheck source=SCRIPTDIR/../support/xwindow.sh
. "$(dirname "$0")/../support/xwindow.sh"
root=$1

make_work_dir
mkdir "$work/home" "$work/empty"
cd "$work/empty"

start_program env HOME="$work/home" XDG_DATA_HOME= XDG_DATA_DIRS="$root/usr/share" \
  "$root/usr/bin/mirawen"

# A notice (captioned "Mirawen") comes before the window, which then waits.
for _ in $(seq 300); do
  window=$(window_id 'Mirawen 1.0')
  [[ -n $window ]] && break
  [[ -z $(window_id Mirawen) ]] || fail "a notice came first: a list or the font was not found"
  kill -0 "$pid" 2>/dev/null || fail "the program ended"
  sleep 0.1
done
[[ -n $window ]] || fail "no window named 'Mirawen 1.0'"

eval "$(xdotool getwindowgeometry --shell "$window")"
# The list fills the window's width and 21 % to 93 % of its height, its
# header on top; count the pixel lines below the header that hold dark ink.
for _ in $(seq 50); do
  rows=$(/usr/bin/python3 - "$X" "$Y" "$WIDTH" "$HEIGHT" <<'PY'
import os, sys
from PIL import ImageGrab
x, y, w, h = map(int, sys.argv[1:])
shot = ImageGrab.grab(bbox=(x + w // 20, y + h * 30 // 100, x + w * 19 // 20, y + h * 90 // 100),
                      xdisplay=os.environ["DISPLAY"]).convert("L")
width = shot.width
pixels = shot.tobytes()
print(sum(1 for row in range(shot.height)
          if min(pixels[row * width:(row + 1) * width]) < 100))
PY
)
  ((rows >= 50)) && break
  sleep 0.2
done
((rows >= 50)) || fail "the list shows no rows ($rows lines of ink)"
echo "installed window: opened with no notice, the list shows rows ($rows lines of ink)"
