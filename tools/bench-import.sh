#!/usr/bin/env bash
# Times mirawen-import against Python's csv module merely reading the same
# file, side by side and interleaved, and reports median wall times and their
# ratio (the import should take at most half of Python's time).
#
#   tools/bench-import.sh [BUILD-DIR [CSV]]
#
# Without BUILD-DIR (or with an empty one), build/ is configured with the
# benchmarks on and cli/mirawen-import and bench/gen-ecdict are built in it
# first; a BUILD-DIR that is named must hold them already.
# Without CSV, a synthetic file in ECDICT's shape with 770,000 rows (about
# 73 MB, the same bytes every time) is generated into a temporary folder.
# Environment: REPS (default 7) runs of each command.
set -euo pipefail
# shellcheck source=SCRIPTDIR/lib.sh
. "$(dirname "$0")/lib.sh"

build=${1:-}
csv=${2:-}
reps=${REPS:-7}
if [[ -z $build ]]; then
    build=$source_dir/build
    build_for_bench mirawen-import gen-ecdict
fi

import=$build/cli/mirawen-import
gen=$build/bench/gen-ecdict
[[ -x $import ]] || die "no $import: build the project first (or name the build folder)"
[[ $reps =~ ^[1-9][0-9]*$ ]] || die "REPS must be a positive number"
command -v python3 >/dev/null || die "python3 is missing"

make_work_dir

if [[ -z $csv ]]; then
    [[ -x $gen ]] || die "no $gen: build with -DMIRAWEN_BENCH=ON"
    csv=$work/ecdict.csv
    "$gen" --rows 770000 "$csv" >/dev/null
fi
[[ -r $csv ]] || die "cannot read $csv"

names=(
    "mirawen-import --dir D --force CSV"
    "python3 csv.reader over CSV"
)
# Sets cmd to command number $1, run as is (no shell in between).
command_line() {
    case $1 in
    0) cmd=("$import" --dir "$work/lists" --force "$csv") ;;
    1) cmd=(python3 -c "import csv,sys; [0 for _ in csv.reader(open(sys.argv[1], encoding='utf-8'))]" "$csv") ;;
    esac
}

# One untimed round puts the file in the page cache and the programs in memory;
# the import's report of it is shown once.
for c in "${!names[@]}"; do
    command_line "$c"
    "${cmd[@]}" 2>&1 >/dev/null | sed 's/^/  /' || die "${names[$c]} failed"
done

declare -A times
for ((r = 0; r < reps; r++)); do
    for c in "${!names[@]}"; do
        command_line "$c"
        start=$(date +%s%N)
        "${cmd[@]}" >/dev/null 2>&1 || die "${names[$c]} failed with status $?"
        end=$(date +%s%N)
        times[$c]+="$(((end - start) / 1000)) "
    done
done

median() { tr ' ' '\n' | grep . | sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
minimum() { tr ' ' '\n' | grep . | sort -n | head -n 1; }
maximum() { tr ' ' '\n' | grep . | sort -n | tail -n 1; }

python_us=$(median <<<"${times[1]}")
printf '\ncsv: %s (%d lines, %d bytes)\n' "$csv" "$(wc -l <"$csv")" "$(stat -c %s "$csv")"
printf '%d interleaved runs of each, %d cores\n\n' "$reps" "$(nproc)"
printf '%-40s %10s %15s %9s\n' command "median ms" "(min-max)" "/ python"
for c in "${!names[@]}"; do
    awk -v name="${names[$c]}" -v us="$(median <<<"${times[$c]}")" -v py="$python_us" \
        -v lo="$(minimum <<<"${times[$c]}")" -v hi="$(maximum <<<"${times[$c]}")" 'BEGIN {
            printf "%-40s %10.1f %15s %9.2f\n", name, us / 1000,
                   sprintf("(%.0f-%.0f)", lo / 1000, hi / 1000), us / py
        }'
done
