#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang (in build-fuzz/) and runs each of them for a while.
#
#   bash scripts/fuzz.sh [SECONDS] [HARNESS...]
#
# SECONDS is the time per harness (default 60); HARNESS names limit the run (default: all of them,
# as tests/fuzz/CMakeLists.txt lists them). Corpora grow in build-fuzz/corpus/<harness>/, seeded from
# samples/. An input that crashes a harness or breaks one of its properties is kept in
# build-fuzz/crashes/ and the script stops with a non-zero status.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
# shellcheck source=scripts/common.sh
source "$ROOT/scripts/common.sh"

seconds="${1:-60}"
shift || true
BUILD=build-fuzz

bash "$ROOT/scripts/install-deps.sh" build fuzz
configure "$BUILD" \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DODIZODORUZ_FUZZ=ON \
  -DODIZODORUZ_WERROR=ON \
  -DODIZODORUZ_BUILD_TESTS=OFF \
  -DODIZODORUZ_BUILD_BENCH=OFF >/dev/null
cmake --build "$BUILD" --target fuzzers

harnesses=("$@")
if [[ ${#harnesses[@]} -eq 0 ]]; then
  mapfile -t harnesses < <(sed -n 's/^odz_add_fuzzer(\([a-z_]*\) .*/\1/p' tests/fuzz/CMakeLists.txt)
fi

# Seeds: the sample texts for the readers of text, a few lines for the others.
seed() {
  local name="$1" corpus="$BUILD/corpus/$1"
  mkdir -p "$corpus"
  [[ -n "$(ls -A "$corpus")" ]] && return 0
  case "$name" in
    fuzz_ini_store)
      printf 'MainForm\0Left\0120\0[MainForm]\nLeft=10\nTop = 20 \n[VN Key Current Encode]\nConversion='"'"'`?~.^(+Dd\\\n' >"$corpus/seed" ;;
    fuzz_mask)
      printf 'index.html\0*.htm' >"$corpus/seed1"
      printf 'notes.txt.gz\0*.txt' >"$corpus/seed2" ;;
    fuzz_command_line)
      printf 'convert\0-f\0viscii\0-t\0utf8\0--html\0a.txt\0b.txt' >"$corpus/seed1"
      printf 'replace\0--find\0x\0--with\0y\0--mask\0*.txt\0in\0out' >"$corpus/seed2" ;;
    *)
      local i=0 file
      while IFS= read -r -d '' file; do
        head -c 4096 "$file" >"$corpus/sample$((i++))"
      done < <(find samples -type f -print0) ;;
  esac
}

mkdir -p "$BUILD/crashes"
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
for harness in "${harnesses[@]}"; do
  seed "$harness"
  printf '\n==== %s, %s s ====\n' "$harness" "$seconds"
  log="$BUILD/$harness.log"
  status=0
  "$BUILD/bin/$harness" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=4096 -max_len=65536 \
    -print_final_stats=1 -artifact_prefix="$BUILD/crashes/$harness-" "$BUILD/corpus/$harness" >"$log" 2>&1 ||
    status=$?
  grep -E 'DONE|stat::number_of_executed_units|stat::new_units_added' "$log" || true
  if [[ $status -ne 0 ]]; then
    tail -n 40 "$log" >&2
    echo "fuzz: $harness failed; the input is in $BUILD/crashes/" >&2
    exit 1
  fi
done
echo "fuzz: every harness ran ${seconds} s without a failure"
