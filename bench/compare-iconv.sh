#!/usr/bin/env bash
# Compares odizodoruz-cli with iconv on large files: VISCII -> UTF-8, UTF-8 -> VISCII, TCVN1 -> UTF-8
# and UTF-8 -> TCVN1 (glibc's TCVN5712-1), from the same files in the same run, with `cat` of the same
# input beside them (the time of reading and writing alone). Beside them, the VIQR
# targets, which iconv does not have: UTF-8 -> VIQR and VISCII -> VIQR with the default keys, and
# UTF-8 -> VIQR with a key set that makes the writer read its output back (n9zD;5_7d63). Each is timed
# in turn with the legacy conversion from the same input (held to at most twice its time) and checked
# by reading the VIQR back, which must give the input byte for byte.
#
#   bench/compare-iconv.sh            builds (or reuses) build/, then measures
#
# Environment:
#   ODZ_BUILD_DIR   build folder (default: build/ in the source tree)
#   ODZ_BENCH_MB    size of the generated UTF-8 text in MB (default 50)
#   ODZ_BENCH_RUNS  timed runs per tool and conversion, the best one counts (default 3)
#   ODZ_BENCH_TMP   folder for the generated files (default: $TMPDIR or /tmp)
#
# Exit status: 0 when both tools wrote the same bytes for every conversion and every VIQR file read
# back as its input, 1 when not (missed speed or memory goals are reported, not failed), 2 when a
# tool is missing.
# Each tool runs once untimed first, so the input is in the page cache; the timed runs of the two
# tools then alternate.
# Wall time comes from a nanosecond clock around the run, peak memory (maximum resident set size) from
# /usr/bin/time -f '%e %M'. MB are 10^6 bytes; MB/s is the input size over the wall time.
# Lines end with CR LF, as our tool writes them, so both tools write the same bytes.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/.." && pwd)"
build="${ODZ_BUILD_DIR:-$root/build}"
megabytes="${ODZ_BENCH_MB:-50}"
runs="${ODZ_BENCH_RUNS:-3}"
tmp_base="${ODZ_BENCH_TMP:-${TMPDIR:-/tmp}}"

export LC_ALL=C

for tool in cmake iconv awk cmp /usr/bin/time; do
    command -v "$tool" >/dev/null 2>&1 || { echo "compare-iconv: $tool is needed" >&2; exit 2; }
done

# ---- Build ------------------------------------------------------------------------------------------
if [[ -f "$build/CMakeCache.txt" ]]; then
    echo "Reusing $build"
else
    echo "Configuring $build (Release)"
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" --target odizodoruz-cli >/dev/null
cli="$build/bin/odizodoruz-cli"
[[ -x "$cli" ]] || { echo "compare-iconv: $cli was not built" >&2; exit 2; }
build_type="$(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$build/CMakeCache.txt")"

work="$(mktemp -d "$tmp_base/odz-compare-iconv.XXXXXX")"
# shellcheck disable=SC2317  # called by the trap
cleanup() { rm -rf "$work"; }
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# ---- Text ---------------------------------------------------------------------------------------------
# shellcheck source=bench/vietnamese-text.sh
source "$here/vietnamese-text.sh"
utf8="$work/text.utf8.txt"
vietnamese_text "$utf8" "$megabytes"
input_bytes=$(wc -c <"$utf8")

# ---- Legacy copies ----------------------------------------------------------------------------------
notes=()
make_legacy() {  # short name, glibc name, output file
    local ours="$work/made.$1.ours" theirs="$work/made.$1.iconv"
    "$cli" convert -f utf8 -t "$1" "$utf8" "$ours" --overwrite 2>/dev/null
    iconv -f UTF-8 -t "$2" "$utf8" -o "$theirs"
    if cmp -s "$ours" "$theirs"; then
        mv "$theirs" "$3"
        rm -f "$ours"
        notes+=("UTF-8 -> $1: iconv ($2) and odizodoruz-cli give the same bytes; the $1 input is iconv's.")
    else
        notes+=("UTF-8 -> $1: iconv ($2) and odizodoruz-cli differ (iconv $(wc -c <"$theirs") bytes, ours \
$(wc -c <"$ours") bytes; $(cmp "$theirs" "$ours" 2>&1 | head -1)); the $1 input is odizodoruz-cli's.")
        mv "$ours" "$3"
        rm -f "$theirs"
    fi
}
viscii="$work/text.viscii.txt"
tcvn1="$work/text.tcvn1.txt"
make_legacy viscii VISCII "$viscii"
make_legacy tcvn1 TCVN5712-1 "$tcvn1"

# ---- Timing -----------------------------------------------------------------------------------------
# One run: leaves "seconds peak_kib" in $measured. The output file is removed first, for both tools
# alike. Runs in this shell, so that a failure ends the script.
measured=""
measure() {  # output file, command...
    local out="$1" timing="$work/time.out" start end
    shift
    rm -f "$out"
    start=$(date +%s%N)
    /usr/bin/time -f '%e %M' -o "$timing" "$@" >/dev/null 2>"$work/stderr.out" ||
        { echo "compare-iconv: failed: $*" >&2; cat "$work/stderr.out" >&2; exit 1; }
    end=$(date +%s%N)
    measured=$(awk -v ns=$((end - start)) '{ printf "%.4f %d\n", ns / 1e9, $2 }' "$timing")
}
# The faster of two "seconds peak_kib" results.
faster() {
    if [[ -z "$1" ]] || awk -v a="${2%% *}" -v b="${1%% *}" 'BEGIN { exit !(a < b) }'; then echo "$2"; else echo "$1"; fi
}

rows=()
check_lines=()
outputs_differ=0
compare() {  # label, our from, our to, glibc from, glibc to, input file
    local label="$1" from="$2" to="$3" gfrom="$4" gto="$5" input="$6"
    local ours="$work/out.$from-$to.ours" theirs="$work/out.$from-$to.iconv" size r_ours r_iconv r_cat
    local copied="$work/out.$from-$to.cat"
    local cmd_ours=("$cli" convert -f "$from" -t "$to" "$input" "$ours" --overwrite)
    local cmd_iconv=(iconv -f "$gfrom" -t "$gto" "$input" -o "$theirs")
    local cmd_cat=(sh -c 'cat "$1" >"$2"' sh "$input" "$copied")
    size=$(wc -c <"$input")
    # One warm-up each, then the timed runs of the two tools in turn, so that a change in the load of
    # the machine touches both alike; the best run of each counts.
    measure "$ours" "${cmd_ours[@]}"
    measure "$theirs" "${cmd_iconv[@]}"
    measure "$copied" "${cmd_cat[@]}"
    r_ours="" r_iconv="" r_cat=""
    for ((r = 0; r < runs; ++r)); do
        measure "$ours" "${cmd_ours[@]}"
        r_ours=$(faster "$r_ours" "$measured")
        measure "$theirs" "${cmd_iconv[@]}"
        r_iconv=$(faster "$r_iconv" "$measured")
        measure "$copied" "${cmd_cat[@]}"
        r_cat=$(faster "$r_cat" "$measured")
    done
    rm -f "$copied"
    rows+=("$label|$size|$r_ours|$r_iconv|$r_cat")
    if cmp -s "$ours" "$theirs"; then
        check_lines+=("$label: outputs byte-identical ($(wc -c <"$ours") bytes)")
    else
        outputs_differ=1
        check_lines+=("$label: OUTPUTS DIFFER: ours $(wc -c <"$ours") bytes, iconv $(wc -c <"$theirs") bytes, \
first difference: $(cmp "$ours" "$theirs" 2>&1 | head -1)")
    fi
    rm -f "$ours" "$theirs"
}

# A VIQR target, which iconv does not have: timed in turn with a legacy conversion of the same input,
# and read back.
compare_viqr() {  # label, our from, keys, input file, reference label, reference target, goal (yes/no)
    local label="$1" from="$2" keys="$3" input="$4" reference="$5" rto="$6" goal="$7"
    local ours="$work/out.$from-viqr.ours" theirs="$work/out.$from-$rto.ref" back="$work/back.$from"
    local cmd_ours=("$cli" convert -f "$from" -t viqr --keys "$keys" "$input" "$ours" --overwrite)
    local cmd_ref=("$cli" convert -f "$from" -t "$rto" "$input" "$theirs" --overwrite)
    local size r_ours r_ref
    size=$(wc -c <"$input")
    measure "$ours" "${cmd_ours[@]}"
    measure "$theirs" "${cmd_ref[@]}"
    r_ours="" r_ref=""
    for ((r = 0; r < runs; ++r)); do
        measure "$ours" "${cmd_ours[@]}"
        r_ours=$(faster "$r_ours" "$measured")
        measure "$theirs" "${cmd_ref[@]}"
        r_ref=$(faster "$r_ref" "$measured")
    done
    rows+=("$label|$size|$r_ours||$r_ref|$reference|$goal")
    "$cli" convert -f viqr -t "$from" --keys "$keys" "$ours" "$back" --overwrite >/dev/null 2>&1
    if cmp -s "$back" "$input"; then
        check_lines+=("$label: the VIQR written ($(wc -c <"$ours") bytes) reads back as the input")
    else
        outputs_differ=1
        check_lines+=("$label: THE VIQR WRITTEN DOES NOT READ BACK AS THE INPUT: $(cmp "$back" "$input" 2>&1 | head -1)")
    fi
    rm -f "$ours" "$theirs" "$back"
}

echo "Measuring (best of $runs after a warm-up) ..."
compare "VISCII -> UTF-8" viscii utf8 VISCII UTF-8 "$viscii"
compare "UTF-8 -> VISCII" utf8 viscii UTF-8 VISCII "$utf8"
compare "TCVN1 -> UTF-8" tcvn1 utf8 TCVN5712-1 UTF-8 "$tcvn1"
compare "UTF-8 -> TCVN1" utf8 tcvn1 UTF-8 TCVN5712-1 "$utf8"
default_keys="'\`?~.^(+Dd\\"
compare_viqr "UTF-8 -> VIQR" utf8 "$default_keys" "$utf8" "UTF-8 -> VISCII" viscii yes
compare_viqr "VISCII -> VIQR" viscii "$default_keys" "$viscii" "VISCII -> UTF-8" utf8 yes
compare_viqr "UTF-8 -> VIQR*" utf8 "n9zD;5_7d63" "$utf8" "UTF-8 -> VISCII" viscii no

# ---- Report -----------------------------------------------------------------------------------------
cpu="$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)"
echo
echo "Machine: $(nproc) processors, ${cpu:-unknown CPU}, $(uname -sr)"
echo "iconv:   $(iconv --version 2>&1 | head -1)"
echo "Build:   $build ($build_type)"
echo "Input:   UTF-8 $input_bytes bytes, VISCII $(wc -c <"$viscii") bytes, TCVN1 $(wc -c <"$tcvn1") bytes"
echo "         (MB = 10^6 bytes; MB/s = input size / best wall time; RSS = peak resident set size)"
echo
printf '%-16s %-15s %9s %9s %10s %11s %12s\n' conversion tool "input MB" "time s" "MB/s" "peak RSS MB" "RSS/input"
printf '%s\n' "-----------------------------------------------------------------------------------------"
failures=0
for row in "${rows[@]}"; do
    IFS='|' read -r label size r_ours r_iconv r_ref reference goal <<<"$row"
    if [[ -z "$r_iconv" ]]; then
        read -r t_ours k_ours <<<"$r_ours"
        read -r t_ref k_ref <<<"$r_ref"
        awk -v label="$label" -v size="$size" -v to="$t_ours" -v ko="$k_ours" -v tr="$t_ref" -v ref="$reference" '
            BEGIN {
                mb = size / 1e6
                ro = ko * 1024 / 1e6
                printf "%-16s %-15s %9.1f %9.3f %10.1f %11.1f %12.2f\n", label, "odizodoruz-cli", mb, to, mb / to, ro, ro / mb
                printf "%-16s %-15s %9s %9s %10s\n", "", "iconv", "", "", "(no VIQR)"
                printf "%-16s %-15s %9s %9s %9.2fx  (time of %s: %.3f s)\n", "", "ours/legacy", "", "", to / tr, ref, tr
            }'
        if [[ "$goal" == yes ]] && ! awk -v to="$t_ours" -v tr="$t_ref" 'BEGIN { exit !(to <= 2 * tr) }'; then
            check_lines+=("$label: more than twice the time of $reference")
            failures=$((failures + 1))
        fi
        if ! awk -v ko="$k_ours" -v size="$size" 'BEGIN { exit !(ko * 1024 <= 3 * size) }'; then
            check_lines+=("$label: peak memory above three times the input")
            failures=$((failures + 1))
        fi
        continue
    fi
    read -r t_ours k_ours <<<"$r_ours"
    read -r t_iconv k_iconv <<<"$r_iconv"
    read -r t_cat k_cat <<<"$r_ref"
    awk -v label="$label" -v size="$size" -v to="$t_ours" -v ko="$k_ours" -v ti="$t_iconv" -v ki="$k_iconv" \
        -v tc="$t_cat" -v kc="$k_cat" '
        BEGIN {
            mb = size / 1e6
            so = mb / to; si = mb / ti
            ro = ko * 1024 / 1e6; ri = ki * 1024 / 1e6
            printf "%-16s %-15s %9.1f %9.3f %10.1f %11.1f %12.2f\n", label, "odizodoruz-cli", mb, to, so, ro, ro / mb
            printf "%-16s %-15s %9.1f %9.3f %10.1f %11.1f %12.2f\n", "", "iconv", mb, ti, si, ri, ri / mb
            printf "%-16s %-15s %9.1f %9.3f %10.1f %11.1f %12.2f\n", "", "cat", mb, tc, mb / tc, kc * 1024 / 1e6, kc * 1024 / 1e6 / mb
            printf "%-16s %-15s %9s %9s %9.2fx %10.2fx\n", "", "ours/iconv", "", "", so / si, ro / ri
            printf "%-16s %-15s %9s %9.2fx  (time of ours / time of cat)\n", "", "ours/cat", "", to / tc
        }'
    # The goals: at least five times iconv's speed and at most twice the time of cat, peak memory at
    # most three times the input.
    if ! awk -v to="$t_ours" -v ti="$t_iconv" 'BEGIN { exit !(ti / to >= 5) }'; then
        check_lines+=("$label: below five times iconv's speed")
        failures=$((failures + 1))
    fi
    if ! awk -v to="$t_ours" -v tc="$t_cat" 'BEGIN { exit !(to <= 2 * tc) }'; then
        check_lines+=("$label: more than twice the time of cat")
        failures=$((failures + 1))
    fi
    if ! awk -v ko="$k_ours" -v size="$size" 'BEGIN { exit !(ko * 1024 <= 3 * size) }'; then
        check_lines+=("$label: peak memory above three times the input")
        failures=$((failures + 1))
    fi
done
echo
for note in "${notes[@]}"; do echo "Note: $note"; done
for line in "${check_lines[@]}"; do echo "Check: $line"; done
if ((megabytes < 50)); then
    echo "Note: below 50 MB the fixed memory of a process (a few MB) weighs on RSS/input."
fi
echo "Note: UTF-8 -> VIQR* uses keys that make the writer read its output back (n9zD;5_7d63); no speed goal."
if ((failures == 0)); then
    echo "Goals met: at least 5x iconv's MB/s and at most 2x the time of cat (VIQR targets: at most 2x"
    echo "the time of the legacy target) and peak RSS at most 3x the input, on every conversion."
else
    echo "Goals missed: $failures (see above)."
fi
# Different bytes are an error; missed goals are only reported.
exit "$outputs_differ"
