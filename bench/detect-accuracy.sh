#!/usr/bin/env bash
# Detection accuracy and speed over the corpus in bench/corpus/, written in every encoding.
#
#   bash bench/detect-accuracy.sh [BUILD_DIR [WORK_DIR]]
#
# WORK_DIR keeps the corpus in every encoding (by default a temporary folder, removed at the end).
# The corpus (plain UTF-8) is converted to every encoding with the command-line tool itself; Windows-
# 1258 is written by iconv (characters it lacks left out), and the composite UTF-8 form (tone marks as combining characters after the
# letter) by Python's unicodedata. Then odz_detect_accuracy cuts each into samples of 2 KiB and single
# lines of 100 bytes, detects each and prints the accuracy, the confusion tables and the MB/s.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${1:-$ROOT/build}"
CLI="$BUILD/bin/odizodoruz-cli"
ACCURACY="$BUILD/bin/odz_detect_accuracy"
for program in "$CLI" "$ACCURACY"; do
  [[ -x "$program" ]] || { echo "missing $program (build odizodoruz-cli and odz_detect_accuracy)" >&2; exit 2; }
done

if [[ -n "${2:-}" ]]; then
  work="$2"
  mkdir -p "$work"
else
  work="$(mktemp -d)"
  trap 'rm -rf "$work"' EXIT
fi
cat "$ROOT"/bench/corpus/*.txt >"$work/corpus.txt"

for encoding in viqr ztwin viscii vps vni tcvn1 tcvn2 ncr utf16; do
  "$CLI" convert --overwrite -f utf8 -t "$encoding" --keys "'\`?~.^(+Dd\\" "$work/corpus.txt" "$work/$encoding.txt" 2>/dev/null
done
cp "$work/corpus.txt" "$work/utf8.txt"
iconv -c -f UTF-8 -t CP1258 "$work/corpus.txt" >"$work/cp1258.txt"
python3 - "$work/corpus.txt" "$work/utf8-nfd.txt" <<'PY'
import sys, unicodedata
# Base letters with their circumflex, breve or horn precomposed, the tone mark after them.
shapes = {'\u0302', '\u0306', '\u031b'}
out = []
for ch in open(sys.argv[1], encoding='utf-8').read():
    d = unicodedata.normalize('NFD', ch)
    if len(d) > 1 and 'a' <= unicodedata.normalize('NFD', ch.lower())[0] <= 'z' and ch.lower() not in 'đ':
        base = d[0] + ''.join(m for m in d[1:] if m in shapes)
        tone = ''.join(m for m in d[1:] if m not in shapes)
        out.append(unicodedata.normalize('NFC', base) + tone)
    else:
        out.append(ch)
open(sys.argv[2], 'w', encoding='utf-8').write(''.join(out))
PY
echo "Corpus: $(wc -c <"$work/corpus.txt") bytes of UTF-8 ($(ls "$ROOT"/bench/corpus/*.txt | xargs -n1 basename | tr '\n' ' '))"
"$ACCURACY" "$work"
