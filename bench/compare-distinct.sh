#!/bin/bash
# Sorts of texts that hardly repeat, beside sqlite3 on the same rows, in one
# run: for each of the two tables of `tablora-bench gen-distinct` (random
# words; the generated words numbered), tablora-bench's sort_ms (the order
# worked out and applied to the table) against sqlite3's
#   SELECT * FROM t ORDER BY c<COL> COLLATE NOCASE [DESC]
# Times are the best of $RUNS runs (default 5), the two taken in turns; the
# load average is printed before and after. On a machine that others load,
# `chrt -f 1 bench/compare-distinct.sh` runs both at real-time priority.
# Usage: bench/compare-distinct.sh [RECORDS] [BENCH]   (defaults: 1000000 build/tablora-bench)
# SORT_COLUMNS (default 3) and SORT_DIRECTIONS (default "1 -1") choose the
# sorts; TABLORA_BENCH_LOCALE the locale (default ru_RU.UTF-8); GEN_BENCH the
# tablora-bench that makes the tables (default BENCH: an older BENCH may lack
# gen-distinct).
set -euo pipefail

records=${1:-1000000}
bench=$(realpath "${2:-build/tablora-bench}")
gen_bench=$(realpath "${GEN_BENCH:-$bench}")
columns=${SORT_COLUMNS:-3}
directions=${SORT_DIRECTIONS:-1 -1}
locale=${TABLORA_BENCH_LOCALE:-ru_RU.UTF-8}
runs=${RUNS:-5}
command -v sqlite3 >/dev/null || {
    echo "compare-distinct.sh needs sqlite3: apt-get install sqlite3" >&2
    exit 1
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

value() { awk -v k="$1" '$1 == k { print $2 }' "$2"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
# The "real" time of one sqlite3 query, in ms.
sqlite_ms() {
    printf '.timer on\n.output /dev/null\n%s\n' "$1" | sqlite3 rows.sqlite \
        | awk '/^Run Time/ { printf "%d", $4 * 1000 }'
}

echo "records $records, locale $locale, best of $runs, load average $(cut -d' ' -f1-3 /proc/loadavg)"
for kind in words numbered; do
    "$gen_bench" gen-distinct "$kind" "$records" in.db
    # The same rows for sqlite3: the records' eight lines joined by tabs.
    base64 -d in.db | iconv -f CP1251 -t UTF-8 | tr -d '\r' | awk 'NR > 17 {
            row = row (((NR - 18) % 8) ? "\t" : "") $0
            if ((NR - 17) % 8 == 0) { print row; row = "" }
        }' > rows.tsv
    rm -f rows.sqlite
    printf 'CREATE TABLE t(c0 TEXT, c1 TEXT, c2 TEXT, c3 TEXT, c4 TEXT, c5 TEXT, c6 TEXT, c7 TEXT);\n.mode tabs\n.import rows.tsv t\n' \
        | sqlite3 rows.sqlite
    rm rows.tsv
    for column in $columns; do
        for direction in $directions; do
            order=$([ "$direction" = 1 ] && echo ASC || echo DESC)
            best= reference= cpu=
            for _ in $(seq "$runs"); do
                env LC_ALL="$locale" "$bench" sort in.db "$column" "$direction" sorted.db > out.txt
                s=$(value sort_ms out.txt)
                if [ -z "$best" ] || [ "$s" -lt "$best" ]; then best=$s; cpu=$(value sort_cpu_ms out.txt); fi
                r=$(sqlite_ms "SELECT * FROM t ORDER BY c$column COLLATE NOCASE $order;")
                if [ -z "$reference" ] || [ "$r" -lt "$reference" ]; then reference=$r; fi
            done
            printf '%-9s sort %s %-4s %5s ms (processor %s ms), sqlite3 %5s ms, ratio %s, goal 0.08\n' \
                "$kind" "$column" "$order" "$best" "$cpu" "$reference" "$(ratio "$best" "$reference")"
        done
    done
done
echo "load average $(cut -d' ' -f1-3 /proc/loadavg)"
