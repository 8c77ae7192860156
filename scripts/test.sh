#!/usr/bin/env bash
# Checks the formatting of the sources, builds Odizodoruz and runs every test twice: once in an
# ordinary build (build/) and once under AddressSanitizer and UndefinedBehaviorSanitizer
# (build-asan/), then runs each fuzz harness for a short while (build-fuzz/, ODZ_FUZZ_SECONDS each,
# default 20). Compiler warnings are errors in all three builds.
#
#   bash scripts/test.sh
#
# Exits non-zero as soon as a step fails.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"

current_section=""
section() {
  current_section="$1"
  printf '\n==================== %s ====================\n' "$1"
}
on_exit() {
  local rc=$?
  if [[ $rc -ne 0 ]]; then
    printf '\n*** FAILED (exit %s) in: %s ***\n' "$rc" "${current_section:-setup}" >&2
  fi
}
trap on_exit EXIT

# shellcheck source=scripts/common.sh
source "$ROOT/scripts/common.sh"

# Per-test time limit in seconds, so that a hanging test cannot stall the run.
TEST_TIMEOUT="${ODZ_TEST_TIMEOUT:-600}"

# Qt tests need no display: they draw off screen unless told otherwise.
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"

section "Dependencies"
bash "$ROOT/scripts/install-deps.sh" build test gui

section "Formatting (.clang-format)"
# Every C++ source of the repository, as clang-format would write it.
mapfile -t sources < <(git ls-files '*.cpp' '*.h' 2>/dev/null ||
  find engine explorer workbench cli tests bench tools -name '*.cpp' -o -name '*.h')
clang-format --dry-run --Werror "${sources[@]}"
echo "${#sources[@]} files formatted as .clang-format asks."

# The benchmarks are built with everything else once bench/ has a CMakeLists.txt.
if [[ -f "$ROOT/bench/CMakeLists.txt" ]]; then
  bench=ON
else
  bench=OFF
  echo "bench/CMakeLists.txt not found; building without the benchmarks."
fi

# The test builds compile several sources as one (unity build): it halves the time of a build from
# scratch, and nothing here needs a debugger.
section "Configure build/ (Release, -O2 as the packages are built)"
configure build \
  -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DCMAKE_UNITY_BUILD=ON \
  -DODIZODORUZ_WERROR=ON \
  -DODIZODORUZ_SANITIZE=OFF \
  -DODIZODORUZ_BUILD_TESTS=ON \
  -DODIZODORUZ_BUILD_BENCH="$bench"

section "Build build/"
cmake --build build

section "Tests in build/"
ctest --test-dir build --output-on-failure -j2 --no-tests=error --timeout "$TEST_TIMEOUT"

# Only what the tests run: no benchmarks, no developer tools; line tables are enough for the
# sanitizers' reports.
section "Configure build-asan/ (AddressSanitizer + UndefinedBehaviorSanitizer)"
configure build-asan \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" \
  -DCMAKE_UNITY_BUILD=ON \
  -DODIZODORUZ_WERROR=ON \
  -DODIZODORUZ_SANITIZE=ON \
  -DODIZODORUZ_BUILD_TESTS=ON \
  -DODIZODORUZ_BUILD_BENCH=OFF \
  -DODIZODORUZ_BUILD_TOOLS=OFF

section "Build build-asan/"
cmake --build build-asan

section "Tests in build-asan/"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
  LSAN_OPTIONS="suppressions=$ROOT/tests/support/lsan.supp:print_suppressions=0" \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j2 --no-tests=error --timeout "$TEST_TIMEOUT"

section "Fuzz harnesses (build-fuzz/)"
bash "$ROOT/scripts/fuzz.sh" "${ODZ_FUZZ_SECONDS:-20}"

current_section="done"
printf '\n==================== All tests passed (build/, build-asan/ and build-fuzz/) ====================\n'
