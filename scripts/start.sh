#!/usr/bin/env bash
# Builds Odizodoruz (in build-app/) and starts it.
#
#   bash scripts/start.sh
#
# With a display and a built window, the window opens with the bundled samples
# in its source pane. Otherwise the command-line tool converts the bundled
# samples and shows the beginning of each result.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"

BUILD_DIR=build-app
SAMPLES="$ROOT/samples"

section() {
  printf '\n==================== %s ====================\n' "$1"
}

# shellcheck source=scripts/common.sh
source "$ROOT/scripts/common.sh"

section "Dependencies"
bash "$ROOT/scripts/install-deps.sh" build gui

section "Build ($BUILD_DIR/)"
configure "$BUILD_DIR" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DODIZODORUZ_SANITIZE=OFF \
  -DODIZODORUZ_BUILD_TESTS=OFF \
  -DODIZODORUZ_BUILD_BENCH=OFF
cmake --build "$BUILD_DIR"

APP="$ROOT/$BUILD_DIR/bin/odizodoruz"
CLI="$ROOT/$BUILD_DIR/bin/odizodoruz-cli"

if [[ -x "$APP" && (-n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}") ]]; then
  section "Starting Odizodoruz"
  if [[ -d "$SAMPLES" ]]; then
    exec "$APP" "$SAMPLES"
  fi
  exec "$APP"
fi

echo
if [[ ! -x "$APP" ]]; then
  echo "The window was not built ($APP is missing); showing the command-line tool instead."
else
  echo "No display found (neither DISPLAY nor WAYLAND_DISPLAY is set), so the window"
  echo "cannot open; showing the command-line tool converting the samples instead."
fi

if [[ ! -x "$CLI" ]]; then
  echo "start: $CLI was not built." >&2
  exit 1
fi

section "odizodoruz-cli encodings"
"$CLI" encodings

if [[ ! -d "$SAMPLES" ]]; then
  echo
  echo "No samples/ folder found; nothing to convert."
  exit 0
fi

OUT="$(mktemp -d "${TMPDIR:-/tmp}/odizodoruz-demo.XXXXXX")"
failures=0
converted=0

# demo FROM TO: converts every file of samples/FROM/ into $OUT/FROM-to-TO/ and
# shows the first five lines of each result.
demo() {
  local from="$1" to="$2"
  local src_dir="$SAMPLES/$from" dst_dir="$OUT/$from-to-$to"
  section "samples/$from/ -> $to"
  if [[ ! -d "$src_dir" ]]; then
    echo "(samples/$from/ is not there; skipped)"
    return 0
  fi
  mkdir -p "$dst_dir"
  local src dst found=0
  for src in "$src_dir"/*; do
    [[ -f "$src" ]] || continue
    found=1
    dst="$dst_dir/$(basename "$src")"
    echo
    echo "--- $from/$(basename "$src") -> $to"
    if "$CLI" convert -f "$from" -t "$to" "$src" "$dst"; then
      converted=$((converted + 1))
      head -n 5 -- "$dst"
      # Keep the next header on its own line even if the text lacks a final newline.
      [[ -z "$(tail -c 1 -- "$dst")" ]] || echo
    else
      echo "(conversion failed with exit code $?)"
      failures=$((failures + 1))
    fi
  done
  if [[ $found -eq 0 ]]; then
    echo "(samples/$from/ has no files; skipped)"
  fi
}

demo viscii utf8
demo utf8 viqr

section "which encoding is each sample in? (odizodoruz-cli detect)"
"$CLI" detect "$SAMPLES" || true

section "Done"
echo "Converted $converted file(s); the results are in $OUT"
if [[ $failures -gt 0 ]]; then
  echo "$failures conversion(s) failed." >&2
  exit 1
fi
