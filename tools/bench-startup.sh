#!/usr/bin/env bash
# Times how long mirawen takes from its start to its window being mapped, on
# real-sized word lists, against a plain Qt program that opens an empty
# dialog of the same size; the two alternate REPS times (default 7) in a
# virtual X server, and the medians and their ratio are printed.
#
#   tools/bench-startup.sh [BUILD-DIR [LISTS-DIR]]
#
# Without BUILD-DIR (or with an empty one), build/ is configured with the
# benchmarks on and app/mirawen and bench/mirawen-bench-empty-dialog are built
# in it first; a BUILD-DIR that is named must hold them already. LISTS-DIR
# holds 大学四级.txt and 大学六级.txt (default: the shared CET fixtures beside
# the checkout, else the bundled samples).
#
# Both programs run in a D-Bus session, as on a desktop. Without one, Qt's
# accessibility bridge tries to start a bus (dbus-launch, along the PATH) the
# first time a widget changes: before the window maps in a window with
# controls, after it in an empty one. SESSION_BUS=none leaves the bus out.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=SCRIPTDIR/lib.sh
. tools/lib.sh

build=${1:-}
lists=${2:-}
reps=${REPS:-7}
if [[ -z $build ]]; then
    build=build
    build_for_bench mirawen mirawen-bench-empty-dialog
fi
if [[ -z $lists ]]; then
    lists=../shared/fixtures/cet
    [[ -r $lists/大学四级.txt ]] || lists=samples
fi
program=$build/app/mirawen
empty=$build/bench/mirawen-bench-empty-dialog
[[ -x $program && -x $empty ]] || die "build $program and $empty first"
[[ $reps =~ ^[1-9][0-9]*$ ]] || die "REPS must be a positive number"

ensure_packages xvfb xauth python3-xlib dbus-daemon
session=(dbus-run-session --)
bus="in a D-Bus session"
if [[ ${SESSION_BUS:-} == none ]]; then
    session=()
    bus="without a D-Bus session"
fi

make_work_dir
cp "$lists"/大学四级.txt "$lists"/大学六级.txt res/TOPhonetic.ttf "$work"/

# The server takes any client (-ac): python-xlib does not read the cookie
# that xvfb-run writes for its host name.
# Starts each program, waits for its first top-level window to be mapped
# (MapNotify on the root window; no window manager runs), and ends it. Debian's
# own Python, which has the Xlib package.
cat >"$work/probe.py" <<'PY'
import os, statistics, subprocess, sys, time
from Xlib import X, display

# One connection for the whole run: the server resets when its last client
# leaves, and refuses connections while it does.
d = display.Display()
root = d.screen().root
root.change_attributes(event_mask=X.SubstructureNotifyMask)
d.sync()

def once(command, cwd):
    while d.pending_events():
        d.next_event()
    start = time.monotonic()
    process = subprocess.Popen(command, cwd=cwd, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    while d.next_event().type != X.MapNotify:
        pass
    elapsed = time.monotonic() - start
    process.kill()
    process.wait()
    d.sync()
    return elapsed * 1000

reps, cwd, program, empty = int(sys.argv[1]), sys.argv[2], sys.argv[3], sys.argv[4]
once([empty], cwd)  # one untimed round of each fills the caches
once([program], cwd)
times = {"mirawen": [], "empty dialog": []}
for _ in range(reps):
    times["empty dialog"].append(once([empty], cwd))
    times["mirawen"].append(once([program], cwd))
empty_ms = statistics.median(times["empty dialog"])
for name, values in times.items():
    median = statistics.median(values)
    print(f"{name:14s} median {median:7.1f} ms  (min {min(values):.1f}, max {max(values):.1f})"
          f"  / empty dialog {median / empty_ms:.2f}")
PY

entries=$(cat "$lists"/大学四级.txt "$lists"/大学六级.txt | wc -l)
echo "start to mapped window, $reps alternating runs each, lists: $lists ($entries lines), $bus"
"${session[@]}" xvfb-run -a -s "-ac -screen 0 1280x1024x24" \
    /usr/bin/python3 "$work/probe.py" "$reps" "$work" "$(realpath "$program")" "$(realpath "$empty")"
