#!/bin/bash
# Times tablora-bench roundtrip on a generated database beside the shell
# pipelines that do the same physical work, and prints the ratios.
# Usage: bench/compare.sh [RECORDS] [BENCH]   (defaults: 1000000 build/tablora-bench)
set -euo pipefail

records=${1:-1000000}
bench=$(realpath "${2:-build/tablora-bench}")
runs=3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
# Best wall time of $runs runs of a shell command, in ms.
best_ms() {
    local best=
    for _ in $(seq $runs); do
        local t0 t1
        t0=$(now_ms); bash -c "$1"; t1=$(now_ms)
        local t=$((t1 - t0))
        if [ -z "$best" ] || [ "$t" -lt "$best" ]; then best=$t; fi
    done
    echo "$best"
}

"$bench" gen "$records" in.db
# The plain text in UTF-8, prepared once for the write reference.
base64 -d in.db | iconv -f CP1251 -t UTF-8 > plain.utf8

read_ref=$(best_ms 'base64 -d in.db | iconv -f CP1251 -t UTF-8 >/dev/null')
write_ref=$(best_ms 'iconv -f UTF-8 -t CP1251 plain.utf8 | base64 -w0 > ref.db')

read_ms= write_ms= rss_kb=
for _ in $(seq $runs); do
    /usr/bin/time -v "$bench" roundtrip in.db out.db > out.txt 2> time.txt
    r=$(awk '/^read_ms/ {print $2}' out.txt)
    w=$(awk '/^write_ms/ {print $2}' out.txt)
    m=$(awk -F': ' '/Maximum resident set size/ {print $2}' time.txt)
    if [ -z "$read_ms" ] || [ "$r" -lt "$read_ms" ]; then read_ms=$r; fi
    if [ -z "$write_ms" ] || [ "$w" -lt "$write_ms" ]; then write_ms=$w; fi
    if [ -z "$rss_kb" ] || [ "$m" -gt "$rss_kb" ]; then rss_kb=$m; fi
done
cmp -s in.db out.db || { echo "out.db differs from in.db" >&2; exit 1; }
cmp -s in.db ref.db || { echo "the reference pipeline wrote a different file" >&2; exit 1; }

# The table's text is every character of the plain list but the line breaks.
plain_bytes=$(base64 -d in.db | wc -c)
lines=$(base64 -d in.db | wc -l)
text_utf16=$(( 2 * (plain_bytes - 2 * lines) ))

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
echo "records            $records"
echo "file bytes         $(stat -c %s in.db)"
echo "table text UTF-16  $text_utf16 bytes"
echo "read               $read_ms ms, reference $read_ref ms, ratio $(ratio "$read_ms" "$read_ref")"
echo "write              $write_ms ms, reference $write_ref ms, ratio $(ratio "$write_ms" "$write_ref")"
echo "peak RSS           $((rss_kb * 1024)) bytes, $(ratio $((rss_kb * 1024)) "$text_utf16") times the text"
