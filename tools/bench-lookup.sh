#!/usr/bin/env bash
# Times mirawen-lookup against GNU sort over the same word lists, side by side
# and interleaved, and reports median wall times and peak memory.
#
#   tools/bench-lookup.sh [BUILD-DIR [LISTS-DIR]]
#
# Without BUILD-DIR (or with an empty one), build/ is configured with the
# benchmarks on and cli/mirawen-lookup and bench/gen-wordlists are built in it
# first; a BUILD-DIR that is named must hold them already.
# Without LISTS-DIR, two sets of 1,000,000 synthetic entries (about 37 MB,
# 60/40, CR LF) are generated into a temporary folder and timed in turn: one
# where every line has a transcription of its own, and a realistic one where
# a few thousand transcriptions made of stems and endings repeat (long shared
# beginnings, whole keys repeated). Environment: REPS (default 7) runs of
# each command, INPUT (default s4l) the lookup's input.
set -euo pipefail
# shellcheck source=SCRIPTDIR/lib.sh
. "$(dirname "$0")/lib.sh"

build=${1:-}
lists=${2:-}
reps=${REPS:-7}
input=${INPUT:-s4l}
if [[ -z $build ]]; then
    build=$source_dir/build
    build_for_bench mirawen-lookup gen-wordlists
fi

lookup=$build/cli/mirawen-lookup
gen=$build/bench/gen-wordlists
[[ -x $lookup ]] || die "no $lookup: build the project first (or name the build folder)"
[[ $reps =~ ^[1-9][0-9]*$ ]] || die "REPS must be a positive number"

# GNU time reports the peak resident set size; bash's time keyword does not.
ensure_packages time

make_work_dir

# Times every command over the lists in $1, titled $2.
bench() {
lists=$1
printf '== %s\n' "$2"
band4=$lists/大学四级.txt
band6=$lists/大学六级.txt
[[ -r $band4 && -r $band6 ]] || die "$lists lacks 大学四级.txt or 大学六级.txt"

bytes=$(($(stat -c %s "$band4") + $(stat -c %s "$band6")))
lines=$(cat "$band4" "$band6" | wc -l)

names=(
    "mirawen-lookup --dir D $input"
    "mirawen-lookup --dir D (all entries)"
    "mirawen-lookup --dir D --encoding gbk (all)"
    "LC_ALL=C sort -t '[' -k2"
)
# Sets cmd to command number $1, run as is (no shell in between).
command_line() {
    case $1 in
    0) cmd=("$lookup" --dir "$lists" -- "$input") ;;
    1) cmd=("$lookup" --dir "$lists") ;;
    2) cmd=("$lookup" --dir "$lists" --encoding gbk) ;;
    3) cmd=(env LC_ALL=C sort -t '[' -k2 "$band4" "$band6") ;;
    esac
}

# One untimed round puts the files in the page cache and the programs in memory.
for c in "${!names[@]}"; do
    command_line "$c"
    "${cmd[@]}" >/dev/null || true
done

declare -A times rss
for ((r = 0; r < reps; r++)); do
    for c in "${!names[@]}"; do
        command_line "$c"
        status=0
        start=$(date +%s%N)
        /usr/bin/time -f %M -o "$work/rss" "${cmd[@]}" >/dev/null || status=$?
        end=$(date +%s%N)
        # grep's convention: 1 means nothing was printed, which is no failure here.
        ((status <= 1)) || die "${names[$c]} failed with status $status"
        times[$c]+="$(((end - start) / 1000)) "
        rss[$c]+="$(tail -n 1 "$work/rss") "
    done
done

median() { tr ' ' '\n' | grep . | sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
minimum() { tr ' ' '\n' | grep . | sort -n | head -n 1; }
maximum() { tr ' ' '\n' | grep . | sort -n | tail -n 1; }

sortc=$((${#names[@]} - 1))
sort_us=$(median <<<"${times[$sortc]}")
printf '%d lines, %d bytes\n' "$lines" "$bytes"
printf '%d interleaved runs of each, output to /dev/null, %d cores\n\n' "$reps" "$(nproc)"
printf '%-44s %10s %15s %7s %8s %8s\n' command "median ms" "(min-max)" "/ sort" "peak MB" "/ lists"
for c in "${!names[@]}"; do
    awk -v name="${names[$c]}" -v us="$(median <<<"${times[$c]}")" -v sort_us="$sort_us" \
        -v lo="$(minimum <<<"${times[$c]}")" -v hi="$(maximum <<<"${times[$c]}")" \
        -v kb="$(maximum <<<"${rss[$c]}")" -v bytes="$bytes" 'BEGIN {
            printf "%-44s %10.1f %15s %7.2f %8.1f %8.2f\n", name, us / 1000,
                   sprintf("(%.0f-%.0f)", lo / 1000, hi / 1000), us / sort_us,
                   kb * 1024 / 1e6, kb * 1024 / bytes
        }'
done
echo
}

if [[ -n $lists ]]; then
    bench "$lists" "the lists in $lists"
else
    [[ -x $gen ]] || die "no $gen: build with -DMIRAWEN_BENCH=ON"
    "$gen" --entries 1000000 "$work/synthetic" >/dev/null
    "$gen" --entries 1000000 --realistic "$work/realistic" >/dev/null
    bench "$work/synthetic" "synthetic: a transcription of its own on every line"
    bench "$work/realistic" "realistic: 3,000 transcriptions from stems and endings, repeated"
fi
