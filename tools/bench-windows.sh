#!/usr/bin/env bash
# Times the Windows window under Wine, in a virtual X server, on real-sized
# lists and on a million entries, and prints the figures (nothing is judged):
#
#   - the real program (mirawen.exe --dir D): from its start to its window
#     being mapped, its peak memory, and from Yes in the exit box to the end
#     of the process, REPS times each (default 5), medians;
#   - in one process (bench/WinWindowBench.cpp): opening and closing the
#     window, and OK on inputs that select tens of thousands of rows, each
#     followed by a one-letter OK.
#
#   tools/bench-windows.sh [REAL-LISTS-DIR]
#
# REAL-LISTS-DIR holds 大学四级.txt and 大学六级.txt (default: the shared CET
# fixtures beside the checkout, else the bundled samples). The large lists are
# made here: gen-wordlists' realistic million (repeated transcriptions built
# from stems and endings), and a million of which 63,793 transcriptions,
# spread evenly, begin with ‹5ip›, for an OK that selects that many rows.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=SCRIPTDIR/lib.sh
. tools/lib.sh

reps=${REPS:-5}
[[ $reps =~ ^[1-9][0-9]*$ ]] || die "REPS must be a positive number"
real=${1:-../shared/fixtures/cet}
[[ -r $real/大学四级.txt ]] || real=samples

ensure_packages --no-recommends wine wine64 fonts-wine xvfb xauth xdotool python3-xlib \
  fonts-wqy-microhei
build_for_bench gen-wordlists
MIRAWEN_BENCH=ON tools/build-windows.sh mirawen mirawen-bench-win-window >&2
bin=build-windows/bin

make_work_dir
build/bench/gen-wordlists --realistic "$work/realistic" >/dev/null
mkdir "$work/wide"
awk -v dir="$work/wide" 'BEGIN {
  srand(5)
  alphabet = "bdfgkmprtvw1234689A"
  for (i = 0; i < 1000000; i++) {
    key = i * 63793 % 1000000 < 63793 ? "5ip" : substr(alphabet, int(rand() * 19) + 1, 1)
    for (n = 0; n < 5; n++) key = key substr(alphabet, int(rand() * 19) + 1, 1)
    printf "w%d [%s] n. \xB4\xAC\r\n", i, key > (dir "/" (i % 5 < 3 ? "大学四级.txt" : "大学六级.txt"))
  }
}'

wine_environment "$PWD/build-windows/wineprefix"
ensure_wine_prefix
# A Linux path as the Windows programs see it, on Wine's drive Z:.
windows_path() { local path; path=$(realpath "$1"); printf 'Z:%s' "${path//\//\\}"; }

# Starts the program, waits for its window to be mapped (MapNotify on the
# root window; no window manager runs), reads its peak memory, answers the
# exit box with Yes (its default button) and waits for the process to end.
cat >"$work/probe.py" <<'PY'
import statistics, subprocess, sys, time
from Xlib import X, display

d = display.Display()
root = d.screen().root
root.change_attributes(event_mask=X.SubstructureNotifyMask)
d.sync()

def mapped():
    while True:
        event = d.next_event()
        if event.type == X.MapNotify:
            return event.window

def once(program, lists):
    while d.pending_events():
        d.next_event()
    start = time.monotonic()
    process = subprocess.Popen(["wine", program, "--dir", lists],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    window = mapped()
    shown = time.monotonic() - start
    time.sleep(0.5)  # let it settle before it is asked to close
    with open("/proc/%d/status" % process.pid) as status:
        peak = next(int(line.split()[1]) for line in status if line.startswith("VmHWM"))
    subprocess.run(["xdotool", "windowfocus", "--sync", str(window.id), "key", "Escape"])
    box = mapped()
    time.sleep(0.2)
    subprocess.run(["xdotool", "windowfocus", "--sync", str(box.id)])
    yes = time.monotonic()
    subprocess.run(["xdotool", "key", "Return"])
    process.wait(timeout=300)
    return shown * 1000, peak / 1000, (time.monotonic() - yes) * 1000

reps, program = int(sys.argv[1]), sys.argv[2]
once(program, sys.argv[4])  # one untimed round fills the caches
for name, lists, size in zip(sys.argv[3::3], sys.argv[4::3], sys.argv[5::3]):
    runs = [once(program, lists) for _ in range(reps)]
    start, peak, end = (statistics.median(r[i] for r in runs) for i in range(3))
    print(f"mirawen.exe, {name:18s} start to window {start:7.1f} ms   Yes to end {end:7.1f} ms"
          f"   peak {peak:6.1f} MB ({peak * 1e6 / int(size):.2f} x the lists)")
PY

size() { cat "$1"/大学四级.txt "$1"/大学六级.txt | wc -c; }
echo "$(wine --version), $(nproc) cores; real-sized lists: $real"
probe=(/usr/bin/python3 "$work/probe.py" "$reps" "$bin/mirawen.exe"
  "real-sized lists" "$(windows_path "$real")" "$(size "$real")"
  "1,000,000 entries" "$(windows_path "$work/realistic")" "$(size "$work/realistic")")
bench=(wine "$bin/mirawen-bench-win-window.exe" "$bin/TOPhonetic.ttf" "$(windows_path "$real")"
  "$(windows_path "$work/realistic")" pr "$(windows_path "$work/wide")" 5ip)
# One wineserver for the whole run, as on a desktop where Windows is running.
# shellcheck disable=SC2016 # expanded by the inner shell
xvfb-run -a -s "-ac -screen 0 1280x1024x24" bash -c '
  wineserver -p
  "${@:2:$1}"
  "${@:$1+2}"
  wineserver -k' bench "${#probe[@]}" "${probe[@]}" "${bench[@]}"
