#!/bin/bash
# How the costs grow with the table: bench/window.sh for each size, the
# figures gathered in one table (milliseconds; peak memory in MB and as a
# share of the table's text in UTF-16). Open is the bench's read; the
# window's open adds the 200 ms pause before the file is read.
# Usage: bench/scaling.sh [BUILD] [SIZES...]   (defaults: build 10000 100000 1000000 10000000)
# WINDOW_TABLE (see window.sh) chooses the table: generated, words or numbered.
set -euo pipefail

build=$(realpath "${1:-build}")
shift || true
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(10000 100000 1000000 10000000)
here=$(dirname "$(realpath "$0")")

field() { awk -v k="$1" -v n="$2" 'index($0, k) == 1 { print $n; exit }' "$3"; }

printf '| records | open | window open | sort | save | close | scroll step | refresh | peak |\n'
printf '|---|---|---|---|---|---|---|---|---|\n'
for records in "${sizes[@]}"; do
    out=$(mktemp)
    "$here/window.sh" "$records" "$build" > "$out"
    peak_bytes=$(field "bench peak" 3 "$out")
    printf '| %s | %s | %s | %s | %s | %s | %s | %s | %s MB, %s× |\n' "$records" \
        "$(field "bench open" 3 "$out")" "$(field "open " 2 "$out")" \
        "$(field "sort " 2 "$out")" "$(field "save " 2 "$out")" "$(field "close " 2 "$out")" \
        "$(field "scroll step" 3 "$out")" "$(field "refresh tick" 3 "$out")" \
        "$((peak_bytes / 1000000))" "$(field "bench peak" 10 "$out")"
    rm -f "$out"
done
