#!/usr/bin/env bash
# Times odizodoruz-cli on many files and on one big file, beside the plain copies of the same bytes,
# in the same run:
#   - a tree of 10,000 small VISCII files (10 x 10 folders of 100 files, 2 to 6 KB) converted to UTF-8
#     with the tool's default --jobs (one per processor) and with --jobs 1, beside `cp -r`;
#   - with --many, a tree of 100,000 small files (100 x 10 folders of 100 files, 0.2 to 0.6 KB) the same;
#   - one big VISCII file (ODZ_BIG_MB, default 200; --big-mb 2000 for the 2 GB run) converted to UTF-8
#     beside iconv and beside `cat` of the same file.
# Every line shows the median wall time of ODZ_BENCH_RUNS runs (default 3, after one untimed run that
# fills the page cache) and the peak memory (maximum resident set size, /usr/bin/time -f %M) of those
# runs. The goals are printed beside the ratios; missed goals are reported, not failed.
#
#   bench/compare-cp.sh [--many] [--big-mb MB] [--jobs N]
#
# Environment: ODZ_BUILD_DIR (default build/), ODZ_BENCH_RUNS, ODZ_BIG_MB, ODZ_BENCH_TMP (default
# $TMPDIR or /tmp). Exit status: 0 when every conversion wrote what it should, 1 when not, 2 when a
# tool is missing.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/.." && pwd)"
build="${ODZ_BUILD_DIR:-$root/build}"
runs="${ODZ_BENCH_RUNS:-3}"
big_mb="${ODZ_BIG_MB:-200}"
tmp_base="${ODZ_BENCH_TMP:-${TMPDIR:-/tmp}}"
many=0
jobs=""
while (($#)); do
    case "$1" in
        --many) many=1 ;;
        --big-mb) big_mb="$2"; shift ;;
        --jobs) jobs="$2"; shift ;;
        *) echo "usage: bench/compare-cp.sh [--many] [--big-mb MB] [--jobs N]" >&2; exit 2 ;;
    esac
    shift
done
export LC_ALL=C

for tool in cmake iconv awk cmp /usr/bin/time; do
    command -v "$tool" >/dev/null 2>&1 || {
        echo "compare-cp: $tool is needed (scripts/install-deps.sh test installs it)" >&2
        exit 2
    }
done
if [[ ! -f "$build/CMakeCache.txt" ]]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" --target odizodoruz-cli >/dev/null
cli="$build/bin/odizodoruz-cli"
jobs_option=()
[[ -n "$jobs" ]] && jobs_option=(--jobs "$jobs")

work="$(mktemp -d "$tmp_base/odz-compare-cp.XXXXXX")"
# shellcheck disable=SC2317  # called by the trap
cleanup() { rm -rf "$work"; }
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# A line of VISCII prose with CR LF.
line=$'Tr\xe5m n\xe5m trong c\xf5i ng\xd7\xf5i ta, ch\xe6 t\xe0i ch\xe6 m\xaenh kh\xe9o l\xe0 gh\xe9t nhau.\r\n'
printf '%s' "$line" >"$work/line.txt"

# A tree of top x 10 folders of 100 files each; file i holds lines x (i mod 3 + 1) lines.
make_tree() {  # folder, top folders, lines
    awk -v dir="$1" -v top="$2" -v lines="$3" '
        NR == 1 { text = $0 "\n" }
        END {
            for (a = 0; a < top; ++a) for (b = 0; b < 10; ++b) {
                folder = sprintf("%s/part%03d/section%d", dir, a, b)
                system("mkdir -p " folder)
                for (f = 0; f < 100; ++f) {
                    name = sprintf("%s/file%02d.txt", folder, f)
                    n = lines * (f % 3 + 1)
                    for (i = 0; i < n; ++i) printf "%s", text > name
                    close(name)
                }
            }
        }' "$work/line.txt"
}

# One run: leaves "seconds peak_kib" in $measured; the output is removed first.
measured=""
measure() {  # output, command...
    local out="$1" start end
    shift
    rm -rf "$out"
    sync
    start=$(date +%s%N)
    /usr/bin/time -f '%M' -o "$work/time.out" "$@" >/dev/null 2>"$work/stderr.out" ||
        { echo "compare-cp: failed: $*" >&2; tail -5 "$work/stderr.out" >&2; exit 1; }
    end=$(date +%s%N)
    measured="$(awk -v ns=$((end - start)) 'END { printf "%.4f %d\n", ns / 1e9, $1 }' "$work/time.out")"
}

# The median time and the peak memory of $runs runs, after an untimed one: "seconds peak_kib".
timed() {  # output, command...
    local times=() peak=0
    measure "$@"
    for ((r = 0; r < runs; ++r)); do
        measure "$@"
        times+=("${measured% *}")
        ((${measured#* } > peak)) && peak=${measured#* }
    done
    printf '%s\n' "${times[@]}" | sort -g | awk -v peak="$peak" '
        { t[NR] = $1 } END { printf "%.4f %d\n", (NR % 2 ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2), peak }'
}

rows=()
row() {  # label, "seconds peak_kib", bytes
    rows+=("$1|$2|$3")
}

status=0
tree_bench() {  # name, top folders, lines
    local tree="$work/$1" files bytes ours single copy
    make_tree "$tree" "$2" "$3"
    files=$(find "$tree" -type f | wc -l)
    bytes=$(du -sb "$tree" | cut -f1)
    find "$tree" -type f -exec cat {} + >/dev/null  # into the page cache
    echo "Tree $1: $files files in $(find "$tree" -mindepth 1 -type d | wc -l) folders, $bytes bytes" >&2
    ours=$(timed "$work/out" "$cli" convert -f viscii -t utf8 "${jobs_option[@]}" "$tree" "$work/out")
    single=$(timed "$work/out" "$cli" convert -f viscii -t utf8 --jobs 1 "$tree" "$work/out")
    copy=$(timed "$work/copy" cp -r "$tree" "$work/copy")
    local converted
    converted=$(find "$work/out" -type f | wc -l)
    if [[ "$converted" -ne "$files" ]]; then
        echo "compare-cp: expected $files converted files, found $converted" >&2
        status=1
    fi
    row "$1: odizodoruz-cli --jobs ${jobs:-default}" "$ours" "$bytes"
    row "$1: odizodoruz-cli --jobs 1" "$single" "$bytes"
    row "$1: cp -r" "$copy" "$bytes"
    rows+=("ratio|$1: ours (--jobs ${jobs:-default}) / cp -r|$(awk -v a="${ours% *}" -v b="${copy% *}" \
        'BEGIN { printf "%.2f", a / b }')|goal: at most 1.5")
    rm -rf "$tree" "$work/out" "$work/copy"
}

echo "Making the trees and the big file in $work ..." >&2
tree_bench tree10k 10 32
((many)) && tree_bench tree100k 100 3

# The big file: the line repeated up to the size asked.
big="$work/big.viscii.txt"
target=$((big_mb * 1000000))
awk -v n=$((target / $(wc -c <"$work/line.txt") + 1)) 'NR == 1 { for (i = 0; i < n; ++i) print }' \
    "$work/line.txt" >"$big"
bytes=$(wc -c <"$big")
echo "Big file: $bytes bytes" >&2
ours=$(timed "$work/big.ours" "$cli" convert -f viscii -t utf8 --overwrite "$big" "$work/big.ours")
theirs=$(timed "$work/big.iconv" iconv -f VISCII -t UTF-8 "$big" -o "$work/big.iconv")
copied=$(timed "$work/big.cat" sh -c 'cat "$1" >"$2"' sh "$big" "$work/big.cat")
# The tool writes CR LF after every line, as the input has: both give the same bytes.
"$cli" convert -f viscii -t utf8 --overwrite "$big" "$work/big.ours" 2>/dev/null
if ! cmp -s "$work/big.ours" "$work/big.iconv"; then
    echo "compare-cp: the big file converted differs from iconv's: $(cmp "$work/big.ours" "$work/big.iconv" 2>&1)" >&2
    status=1
fi
row "big file: odizodoruz-cli VISCII -> UTF-8" "$ours" "$bytes"
row "big file: iconv VISCII -> UTF-8" "$theirs" "$bytes"
row "big file: cat" "$copied" "$bytes"
rows+=("ratio|big file: iconv / ours (speed-up)|$(awk -v a="${theirs% *}" -v b="${ours% *}" \
    'BEGIN { printf "%.2f", a / b }')|goal: at least 5")
rows+=("ratio|big file: ours / cat|$(awk -v a="${ours% *}" -v b="${copied% *}" \
    'BEGIN { printf "%.2f", a / b }')|goal: at most 2")
rm -f "$work/big.ours" "$work/big.iconv" "$work/big.cat"

cpu="$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)"
echo
echo "Machine: $(nproc) processors, ${cpu:-unknown CPU}, $(uname -sr); $(date -u +%Y-%m-%d)"
echo "Median of $runs runs after a warm-up; MB = 10^6 bytes; peak = largest maximum RSS of the runs"
printf '%-44s %10s %9s %10s %10s\n' "" "input MB" "time s" "MB/s" "peak MiB"
for r in "${rows[@]}"; do
    IFS='|' read -r label a b c <<<"$r"
    if [[ "$label" == ratio ]]; then
        printf '%-44s %42s  (%s)\n' "$a" "$b" "$c"
        continue
    fi
    read -r t k <<<"$a"
    awk -v l="$label" -v t="$t" -v k="$k" -v s="$b" 'BEGIN {
        printf "%-44s %10.1f %9.3f %10.1f %10.1f\n", l, s / 1e6, t, s / 1e6 / t, k / 1024 }'
    if [[ "$label" == *odizodoruz-cli* ]] && ((k > 64 * 1024)); then
        echo "  (peak memory above the goal of 64 MiB)"
    fi
done
exit "$status"
