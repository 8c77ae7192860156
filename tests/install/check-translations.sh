#!/usr/bin/env bash
# Checks that every text of the window's sources has a finished translation: lupdate gathers the
# texts into a copy of each .ts file, which must then hold no unfinished, vanished or empty one.
#
#   check-translations.sh LUPDATE SOURCES_LIST TS_FOLDER
set -euo pipefail

lupdate="$1"
sources="$2"
folder="$3"
work="$(mktemp -d "${TMPDIR:-/tmp}/odz-ts.XXXXXX")"
trap 'rm -rf "$work"' EXIT

status=0
for ts in "$folder"/*.ts; do
  copy="$work/$(basename "$ts")"
  cp "$ts" "$copy"
  "$lupdate" -silent -locations none "@$sources" -ts "$copy" >"$work/lupdate.log" 2>&1 ||
    { cat "$work/lupdate.log" >&2; exit 1; }
  # One message per line: its source, then what is wrong with its translation.
  problems="$(awk '
    /<source>/ { source = $0; sub(/.*<source>/, "", source); sub(/<\/source>.*/, "", source) }
    /<translation type="unfinished"/ { print "unfinished: " source }
    /<translation type="(vanished|obsolete)"/ { print "no longer in the sources: " source }
    /<translation><\/translation>|<translation\/>/ { print "empty: " source }
  ' "$copy")"
  if [[ -n "$problems" ]]; then
    echo "FAIL: $(basename "$ts"):" >&2
    echo "$problems" >&2
    status=1
  fi
done
exit $status
