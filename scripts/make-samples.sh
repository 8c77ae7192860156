#!/usr/bin/env bash
# Rebuilds the sample folders of every encoding from samples/utf8 with the command-line tool.
set -euo pipefail
cd "$(dirname "$0")/.."
cli=build/bin/odizodoruz-cli
[ -x "$cli" ] || { cmake -S . -B build -G Ninja >/dev/null && cmake --build build --target odizodoruz-cli >/dev/null; }
for target in viqr ztwin viscii vps vni tcvn1 tcvn2 ncr utf16 cp1258 utf8-nfd; do
    mkdir -p "samples/$target"
    for source in samples/utf8/*; do
        html=()
        case "$source" in *.htm|*.html) html=(--html) ;; esac
        "$cli" convert --overwrite "${html[@]}" -f utf8 -t "$target" "$source" "samples/$target/$(basename "$source")"
    done
done
