#!/bin/bash
# Times tablora-bench on a generated database beside the tools that do the
# same work, in one run, and prints the ratios:
#   read   roundtrip's read    against  base64 -d | iconv
#   write  roundtrip's write   against  iconv | base64 -w0  (the sync to disk apart)
#   sort   sort's sort_ms      against  sqlite3's ORDER BY ... COLLATE NOCASE on the same rows
#   peak   the largest resident memory of roundtrip and of sort (open, sort, save)
#          against the table's text in UTF-16
# Usage: bench/compare.sh [RECORDS] [BENCH]   (defaults: 1000000 build/tablora-bench)
# SORT_COLUMNS (default "0 1 2 3 4 5 6 7") and SORT_DIRECTIONS (default "1 -1")
# choose the sorts; TABLORA_BENCH_LOCALE the locale (default ru_RU.UTF-8).
set -euo pipefail

records=${1:-1000000}
bench=$(realpath "${2:-build/tablora-bench}")
columns=${SORT_COLUMNS:-0 1 2 3 4 5 6 7}
directions=${SORT_DIRECTIONS:-1 -1}
# The locale decides the collation: Russian, as for the program's users (Qt
# takes it from the environment even where the system has no such locale).
locale=${TABLORA_BENCH_LOCALE:-ru_RU.UTF-8}
runs=3
command -v sqlite3 >/dev/null || {
    echo "compare.sh needs sqlite3: apt-get install sqlite3" >&2
    exit 1
}
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
# The value of a "name value" line of a file.
value() { awk -v k="$1" '$1 == k { print $2 }' "$2"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
peak_kb=0
# Runs the bench under /usr/bin/time, its figures to out.txt; keeps the peak.
run_bench() {
    env LC_ALL="$locale" /usr/bin/time -v "$bench" "$@" > out.txt 2> time.txt
    local kb
    kb=$(awk -F': ' '/Maximum resident set size/ {print $2}' time.txt)
    if [ "$kb" -gt "$peak_kb" ]; then peak_kb=$kb; fi
}

"$bench" gen "$records" in.db
# The plain text in UTF-8, prepared once for the write reference.
base64 -d in.db | iconv -f CP1251 -t UTF-8 > plain.utf8

read_ref=$(best_ms 'base64 -d in.db | iconv -f CP1251 -t UTF-8 >/dev/null')
write_ref=$(best_ms 'iconv -f UTF-8 -t CP1251 plain.utf8 | base64 -w0 > ref.db')

read_ms= write_ms= sync_ms=
for _ in $(seq $runs); do
    run_bench roundtrip in.db out.db
    r=$(value read_ms out.txt)
    s=$(value sync_ms out.txt)
    s=${s:-0} # a bench that does not tell the sync apart
    w=$(( $(value write_ms out.txt) - s ))
    if [ -z "$read_ms" ] || [ "$r" -lt "$read_ms" ]; then read_ms=$r; fi
    if [ -z "$write_ms" ] || [ "$w" -lt "$write_ms" ]; then write_ms=$w; sync_ms=$s; fi
done
cmp -s in.db out.db || { echo "out.db differs from in.db" >&2; exit 1; }
cmp -s in.db ref.db || { echo "the reference pipeline wrote a different file" >&2; exit 1; }

# The table's text is every character of the plain list but the line breaks.
plain_bytes=$(base64 -d in.db | wc -c)
lines=$(base64 -d in.db | wc -l)
text_utf16=$(( 2 * (plain_bytes - 2 * lines) ))

echo "records            $records"
echo "file bytes         $(stat -c %s in.db)"
echo "table text UTF-16  $text_utf16 bytes"
echo "read               $read_ms ms, reference $read_ref ms, ratio $(ratio "$read_ms" "$read_ref"), goal 0.40"
echo "write              $write_ms ms (+ $sync_ms ms sync), reference $write_ref ms, ratio $(ratio "$write_ms" "$write_ref"), goal 0.40"

# The same rows for sqlite3: the records' eight lines joined by tabs.
tr -d '\r' < plain.utf8 | awk 'NR > 17 {
        row = row (((NR - 18) % 8) ? "\t" : "") $0
        if ((NR - 17) % 8 == 0) { print row; row = "" }
    }' > rows.tsv
printf 'CREATE TABLE t(c0 TEXT, c1 TEXT, c2 TEXT, c3 TEXT, c4 TEXT, c5 TEXT, c6 TEXT, c7 TEXT);\n.mode tabs\n.import rows.tsv t\n' \
    | sqlite3 rows.sqlite
rm rows.tsv
# Best "real" time of $runs runs of one query, in ms.
sqlite_ms() {
    printf '.timer on\n.output /dev/null\n' > query.sql
    for _ in $(seq $runs); do echo "$1" >> query.sql; done
    sqlite3 rows.sqlite < query.sql | awk '/^Run Time/ { ms = $4 * 1000; if (best == "" || ms < best) best = ms } END { printf "%d", best }'
}

worst_sort=0
for column in $columns; do
    for direction in $directions; do
        order=$([ "$direction" = 1 ] && echo ASC || echo DESC)
        reference=$(sqlite_ms "SELECT * FROM t ORDER BY c$column COLLATE NOCASE $order;")
        sort_ms=
        for _ in $(seq $runs); do
            run_bench sort in.db "$column" "$direction" sorted.db
            s=$(value sort_ms out.txt)
            if [ -z "$sort_ms" ] || [ "$s" -lt "$sort_ms" ]; then sort_ms=$s; fi
        done
        r=$(ratio "$sort_ms" "$reference")
        echo "sort $column $(printf '%-4s' "$order")        $sort_ms ms, sqlite3 $reference ms, ratio $r, goal 0.15"
        worst_sort=$(awk -v a="$r" -v b="$worst_sort" 'BEGIN { print (a > b) ? a : b }')
    done
done
echo "sort, worst ratio  $worst_sort"
echo "peak RSS           $((peak_kb * 1024)) bytes, $(ratio $((peak_kb * 1024)) "$text_utf16") times the text, goal 1.70"
