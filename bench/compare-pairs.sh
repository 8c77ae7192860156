#!/usr/bin/env bash
# Times odizodoruz-cli on every pair of its twelve encodings, and iconv on the pairs the C library has
# (VISCII, TCVN5712-1, UTF-8, UTF-16, CP1258), all on the same text: Vietnamese prose written in each
# source encoding by odizodoruz-cli itself. Prints the times as a table (rows: source, columns:
# target), then each pair iconv has with the speed-up over iconv, and the pairs slower than three
# times the fastest pair.
#
#   bench/compare-pairs.sh            builds (or reuses) build/, then measures
#
# Environment:
#   ODZ_BUILD_DIR   build folder (default: build/ in the source tree)
#   ODZ_BENCH_MB    size of the text in UTF-8, in MB (default 50, as compare-iconv.sh: smaller texts
#                   weigh the start of each process, some 10 ms for every tool, more than the work)
#   ODZ_BENCH_RUNS  timed rounds over every conversion, the best run of each counts (default 3)
#   ODZ_BENCH_TMP   folder for the generated files (default: $TMPDIR or /tmp)
#
# The times compare conversions of the same text, whatever its size in each encoding (references
# take twice the bytes of VISCII); each is the best wall time of its runs, one in each round, after an
# untimed round that puts the inputs in the page cache. The goals: every pair iconv has at least twice
# iconv's speed, and every pair within three times the time of the fastest. Missed goals are
# reported, not failed.
# Exit status: 0 when every conversion ran, 1 when one failed, 2 when a tool is missing.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/.." && pwd)"
build="${ODZ_BUILD_DIR:-$root/build}"
megabytes="${ODZ_BENCH_MB:-50}"
runs="${ODZ_BENCH_RUNS:-3}"
tmp_base="${ODZ_BENCH_TMP:-${TMPDIR:-/tmp}}"

export LC_ALL=C

for tool in cmake iconv awk; do
    command -v "$tool" >/dev/null 2>&1 || { echo "compare-pairs: $tool is needed" >&2; exit 2; }
done

if [[ ! -f "$build/CMakeCache.txt" ]]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" --target odizodoruz-cli >/dev/null
cli="$build/bin/odizodoruz-cli"
[[ -x "$cli" ]] || { echo "compare-pairs: $cli was not built" >&2; exit 2; }
build_type="$(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$build/CMakeCache.txt")"

work="$(mktemp -d "$tmp_base/odz-compare-pairs.XXXXXX")"
# shellcheck disable=SC2317  # called by the trap
cleanup() { rm -rf "$work"; }
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# shellcheck source=bench/vietnamese-text.sh
source "$here/vietnamese-text.sh"
vietnamese_text "$work/source.utf8" "$megabytes"

mapfile -t encodings < <("$cli" encodings | awk '{ print $1 }')
declare -A glibc=([viscii]=VISCII [tcvn1]=TCVN5712-1 [utf8]=UTF-8 [utf16]=UTF-16 [cp1258]=CP1258)
for e in "${encodings[@]}"; do
    [[ "$e" == utf8 ]] || "$cli" convert -f utf8 -t "$e" "$work/source.utf8" "$work/source.$e" >/dev/null 2>&1
done

# The wall time of one run of a command, in milliseconds.
time_ms() {
    rm -f "$work/out"
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1 || { echo "compare-pairs: failed: $*" >&2; exit 1; }
    end=$(date +%s%N)
    echo $(((end - start) / 1000000))
}

# Every pair is run once per round, the first round untimed: a pair's runs are spread over the whole
# measurement, so that a spell of load on the machine slows one run of many pairs rather than every
# run of one.
echo "Measuring $((${#encodings[@]} * (${#encodings[@]} - 1))) pairs (best of $runs rounds after a warm-up) ..."
declare -A ours theirs
keep_best() {  # array name, key, milliseconds
    local -n times=$1
    if [[ -z "${times[$2]:-}" ]] || (($3 < times[$2])); then times[$2]=$3; fi
}
for ((r = 0; r <= runs; ++r)); do
    for from in "${encodings[@]}"; do
        for to in "${encodings[@]}"; do
            [[ "$from" == "$to" ]] && continue
            ms=$(time_ms "$cli" convert -f "$from" -t "$to" "$work/source.$from" "$work/out" --overwrite)
            ((r > 0)) && keep_best ours "$from.$to" "$ms"
            if [[ -n "${glibc[$from]:-}" && -n "${glibc[$to]:-}" ]]; then
                ms=$(time_ms iconv -f "${glibc[$from]}" -t "${glibc[$to]}" "$work/source.$from" -o "$work/out")
                ((r > 0)) && keep_best theirs "$from.$to" "$ms"
            fi
        done
    done
done

fastest=""
for pair in "${!ours[@]}"; do
    if [[ -z "$fastest" ]] || ((ours[$pair] < ours[$fastest])); then fastest=$pair; fi
done

cpu="$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)"
echo
echo "Machine: $(nproc) processors, ${cpu:-unknown CPU}, $(uname -sr)"
echo "Build:   $build ($build_type)"
echo "Text:    $(wc -c <"$work/source.utf8") bytes of UTF-8; milliseconds, best wall time (rows: from, columns: to)"
echo
printf '%-9s' "from\\to"
for to in "${encodings[@]}"; do printf '%9s' "$to"; done
echo
for from in "${encodings[@]}"; do
    printf '%-9s' "$from"
    for to in "${encodings[@]}"; do
        if [[ "$from" == "$to" ]]; then printf '%9s' "-"; else printf '%9s' "${ours[$from.$to]}"; fi
    done
    echo
done

echo
echo "Beside iconv (speed-up = iconv's time / ours; goal: at least 2):"
misses=0
for from in "${encodings[@]}"; do
    for to in "${encodings[@]}"; do
        [[ -n "${theirs[$from.$to]:-}" ]] || continue
        verdict=$(awk -v o="${ours[$from.$to]}" -v i="${theirs[$from.$to]}" \
            'BEGIN { printf "%5.2fx%s", i / o, (i / o >= 2 ? "" : "  below 2x") }')
        [[ "$verdict" == *below* ]] && misses=$((misses + 1))
        printf '  %-18s ours %5d ms  iconv %5d ms  %s\n' "$from -> $to" "${ours[$from.$to]}" "${theirs[$from.$to]}" "$verdict"
    done
done

echo
echo "Fastest pair: ${fastest/./ -> } ${ours[$fastest]} ms. Pairs above three times its time:"
slow=0
for from in "${encodings[@]}"; do
    for to in "${encodings[@]}"; do
        [[ "$from" == "$to" ]] && continue
        if ((ours[$from.$to] > 3 * ours[$fastest])); then
            slow=$((slow + 1))
            awk -v l="$from -> $to" -v o="${ours[$from.$to]}" -v f="${ours[$fastest]}" \
                'BEGIN { printf "  %-18s %5d ms  %.2fx the fastest\n", l, o, o / f }'
        fi
    done
done
((slow == 0)) && echo "  none"
echo
echo "Goals missed: $((misses + slow)) ($misses below twice iconv's speed, $slow above three times the fastest pair)."
