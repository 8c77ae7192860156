#!/usr/bin/env bash
# Installs the Debian packages Odizodoruz needs, but only those that are missing.
#
#   bash scripts/install-deps.sh build [test] [gui] [package]
#
# Groups:
#   build    compiler, CMake, Ninja, pkg-config, Qt 6 Core, Qt Linguist's tools for the translations
#   test     GoogleTest, GoogleMock, Google Benchmark, /usr/bin/time, clang-format, the AppStream
#            and desktop entry validators
#   gui      Qt 6 and OpenGL headers for the window
#   fuzz     clang with its libFuzzer and sanitizer runtimes
#   package  what CPack needs for the Debian package (dpkg-shlibdeps, file)
#
# Runs apt-get (through sudo when not root) only if something is missing.
# Without root and without sudo it lists the missing packages and exits 1.
set -euo pipefail

usage() {
  echo "usage: $(basename "$0") GROUP... (groups: build, test, gui, fuzz, package)"
}

if [[ $# -eq 0 ]]; then
  usage >&2
  exit 2
fi

packages=()
for group in "$@"; do
  case "$group" in
    build)
      packages+=(build-essential cmake ninja-build pkg-config qt6-base-dev libgl-dev
        qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools)
      ;;
    test)
      packages+=(libgtest-dev libgmock-dev libbenchmark-dev time clang-format appstream
        desktop-file-utils)
      ;;
    gui) packages+=(qt6-base-dev qt6-base-dev-tools libgl-dev) ;;
    fuzz) packages+=(clang libclang-rt-14-dev) ;;
    package) packages+=(dpkg-dev file gzip) ;;
    -h | --help)
      usage
      exit 0
      ;;
    *)
      echo "install-deps: unknown group '$group'" >&2
      usage >&2
      exit 2
      ;;
  esac
done

if ! command -v dpkg-query >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then
  echo "install-deps: dpkg-query/apt-get not found; this script expects Debian 12 or a derivative." >&2
  echo "install-deps: please install the equivalents of: ${packages[*]}" >&2
  exit 1
fi

# True when the package is installed (for any architecture).
is_installed() {
  local status
  status=$(dpkg-query -W -f='${Status}\n' "$1" 2>/dev/null) || return 1
  # Status looks like "install ok installed"; the last word is the state.
  grep -Eq '[[:space:]]installed$' <<<"$status"
}

missing=()
declare -A seen=()
for pkg in "${packages[@]}"; do
  [[ -n "${seen[$pkg]:-}" ]] && continue
  seen[$pkg]=1
  is_installed "$pkg" || missing+=("$pkg")
done

if [[ ${#missing[@]} -eq 0 ]]; then
  echo "install-deps: all packages present (${*})"
  exit 0
fi

echo "install-deps: missing packages: ${missing[*]}"

if [[ $(id -u) -eq 0 ]]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo)
else
  echo "install-deps: not root and sudo is not available." >&2
  echo "install-deps: please install as root: apt-get install ${missing[*]}" >&2
  exit 1
fi

# sudo may drop the environment, so pass DEBIAN_FRONTEND through env.
apt=("${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300)

"${apt[@]}" update
"${apt[@]}" install -y --no-install-recommends "${missing[@]}"

still_missing=()
for pkg in "${missing[@]}"; do
  is_installed "$pkg" || still_missing+=("$pkg")
done
if [[ ${#still_missing[@]} -gt 0 ]]; then
  echo "install-deps: still missing after apt-get: ${still_missing[*]}" >&2
  exit 1
fi
echo "install-deps: installed ${missing[*]}"
