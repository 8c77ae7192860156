#!/usr/bin/env bash
# Times odizodoruz-cli converting a tree of 10,000 small VISCII files (nested folders) to UTF-8,
# beside `cp -r` of the same tree, in the same run. Best of ODZ_BENCH_RUNS runs (default 3) each.
#
#   bench/compare-cp.sh
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/.." && pwd)"
build="${ODZ_BUILD_DIR:-$root/build}"
runs="${ODZ_BENCH_RUNS:-3}"
export LC_ALL=C

if [[ ! -f "$build/CMakeCache.txt" ]]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" --target odizodoruz-cli >/dev/null
cli="$build/bin/odizodoruz-cli"

work="$(mktemp -d "${TMPDIR:-/tmp}/odz-compare-cp.XXXXXX")"
trap 'rm -rf "$work"' EXIT

# 10 folders of 10 folders of 100 files, 2 to 6 KB each.
echo "Making 10,000 files in $work/tree"
line=$(printf 'Tr\xe5m n\xe5m trong c\xf5i ng\xd7\xf5i ta, ch\xe6 t\xe0i ch\xe6 m\xaenh kh\xe9o l\xe0 gh\xe9t nhau.\r\n')
block=""
for _ in $(seq 1 32); do block+="$line"; done
for a in $(seq -w 0 9); do
    for b in $(seq -w 0 9); do
        dir="$work/tree/part$a/section$b"
        mkdir -p "$dir"
        for f in $(seq -w 0 99); do
            reps=$(( (10#$f % 3) + 1 ))
            content=""
            for _ in $(seq 1 "$reps"); do content+="$block"; done
            printf '%s' "$content" > "$dir/file$f.txt"
        done
    done
done
bytes=$(du -sb "$work/tree" | cut -f1)

best() {  # best wall time in seconds of a command run $runs times after removing $2
    local best_time=""
    for _ in $(seq 1 "$runs"); do
        rm -rf "$2"
        sync
        local start end
        start=$(date +%s.%N)
        eval "$1" >/dev/null 2>&1
        end=$(date +%s.%N)
        local t
        t=$(echo "$end - $start" | bc)
        if [[ -z "$best_time" ]] || (( $(echo "$t < $best_time" | bc) )); then best_time=$t; fi
    done
    echo "$best_time"
}

cat "$work/tree"/*/*/* >/dev/null  # warm the page cache
ours=$(best "'$cli' convert -f viscii -t utf8 '$work/tree' '$work/out'" "$work/out")
copy=$(best "cp -r '$work/tree' '$work/copy'" "$work/copy")
files=$(find "$work/out" -type f | wc -l)

printf '\nTree: 10,000 files in 110 folders, %s bytes; machine: %s processors, %s\n' "$bytes" "$(nproc)" \
    "$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)"
printf '%-40s %8.3f s\n' "odizodoruz-cli convert (VISCII -> UTF-8)" "$ours" "cp -r" "$copy"
printf 'ratio ours / cp -r: %.2f (goal: at most 3)\n' "$(echo "$ours / $copy" | bc -l)"
[[ "$files" -eq 10000 ]] || { echo "compare-cp: expected 10000 converted files, found $files" >&2; exit 1; }
