#!/usr/bin/env bash
# Builds the Debian package of Odizodoruz from a clean build folder (build-package/, Release, without
# tests, benchmarks or developer tools) and prints the path of the .deb file.
#
#   bash scripts/package.sh
#
# Install it with:  apt install ./build-package/odizodoruz_<version>_<arch>.deb
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
# shellcheck source=scripts/common.sh
source "$ROOT/scripts/common.sh"

BUILD=build-package

bash "$ROOT/scripts/install-deps.sh" build gui package >&2

# A package is made from the sources alone: nothing left over from an earlier build goes in.
rm -rf "${BUILD:?}"
configure "$BUILD" \
  -DCMAKE_BUILD_TYPE=Release \
  -DODIZODORUZ_SANITIZE=OFF \
  -DODIZODORUZ_BUILD_TESTS=OFF \
  -DODIZODORUZ_BUILD_BENCH=OFF \
  -DODIZODORUZ_BUILD_TOOLS=OFF >&2
cmake --build "$BUILD" >&2
(cd "$BUILD" && cpack -G DEB >&2)

shopt -s nullglob
packages=("$ROOT/$BUILD"/odizodoruz_*.deb)
if [[ ${#packages[@]} -ne 1 ]]; then
  echo "package: expected one odizodoruz_*.deb in $BUILD/, found ${#packages[@]}" >&2
  exit 1
fi
echo "${packages[0]}"
