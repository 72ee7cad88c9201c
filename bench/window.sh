#!/bin/bash
# Times the main window on a generated database, off screen: start with the
# file, scroll, refresh, sort, save and close (tablora-window-bench phases:
# the program's own start with clocks between its steps), beside
# tablora-bench's open, sort and save of the same table (its sort command)
# and their peak memory. Prints the best of seven runs of each phase (the
# machine's noise is larger than the differences looked for).
# Usage: bench/window.sh [RECORDS] [BUILD] [COLUMN] [DIRECTION]
#        (defaults: 1000000 build 3 1)
# TABLORA_BENCH_LOCALE chooses the locale (default ru_RU.UTF-8); WINDOW_LOAD=N
# keeps N busy loops running meanwhile, for the window's figures under load;
# WINDOW_TABLE=words or numbered takes a table of texts that hardly repeat
# (tablora-bench gen-distinct) instead of the generated one; WINDOW_RUNS the
# number of runs (default 7).
set -euo pipefail

records=${1:-1000000}
build=$(realpath "${2:-build}")
column=${3:-3}
direction=${4:-1}
runs=${WINDOW_RUNS:-7}
work=$(mktemp -d)
loops=()
stop() {
    for pid in "${loops[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap stop EXIT
cd "$work"

# The locale decides the collation: Russian, as for the program's users (Qt
# takes it from the environment even where the system has no such locale).
locale=${TABLORA_BENCH_LOCALE:-ru_RU.UTF-8}
export QT_QPA_PLATFORM=offscreen

case "${WINDOW_TABLE:-generated}" in
generated) "$build/tablora-bench" gen "$records" table.db ;;
words | numbered) "$build/tablora-bench" gen-distinct "$WINDOW_TABLE" "$records" table.db ;;
*)
    echo "WINDOW_TABLE is generated, words or numbered" >&2
    exit 2
    ;;
esac

# A program folder of its own: the settings ask no login, start without the
# designed pause, open no help on the first run and sort in DIRECTION.
mkdir -p program/data
cp "$build/tablora-window-bench" program/
printf '[General]\r\nQuickStart=1\r\n[Table]\r\nSort=%s\r\n[Run]\r\nFirst=0\r\n' "$direction" > program/data/config.ini
printf '[Enter]\r\nQuestionOnStart=0\r\n' > program/data/other.dat

now_ns() { date +%s%N; }

for _ in $(seq "${WINDOW_LOAD:-0}"); do
    (while :; do :; done) &
    loops+=($!)
done

: > window.txt
for _ in $(seq $runs); do
    # The copy on the disk first, or its write-back would meet the save.
    cp table.db open.db && sync open.db
    t0=$(now_ns)
    env LC_ALL="$locale" program/tablora-window-bench phases "$column" open.db > run.txt 2> run.err || {
        cat run.err >&2
        exit 1
    }
    t1=$(now_ns)
    cmp -s open.db table.db && { echo "the window's save did not sort the file" >&2; exit 1; }
    awk -v t0="$t0" -v t1="$t1" '
        /^main_at_ns/  { printf "launch_ms %.1f\n", ($2 - t0) / 1e6; next }
        /^close_at_ns/ { printf "close_ms %.1f\n", (t1 - $2) / 1e6; next }
        { print }' run.txt >> window.txt
done

# The bench's open, sort and save of the same table, as the window ran them,
# without the load.
for pid in "${loops[@]}"; do kill "$pid" 2>/dev/null || true; done
loops=()
: > bench.txt
peak_kb=0
for _ in $(seq $runs); do
    env LC_ALL="$locale" /usr/bin/time -f "peak_kb %M" "$build/tablora-bench" sort table.db "$column" "$direction" sorted.db \
        >> bench.txt 2> time.txt
    kb=$(awk '$1 == "peak_kb" { print $2 }' time.txt)
    if [ "$kb" -gt "$peak_kb" ]; then peak_kb=$kb; fi
done
cmp -s sorted.db open.db || { echo "the window and the bench sorted differently" >&2; exit 1; }
text_utf16=$(( 2 * ($(base64 -d table.db | wc -c) - 2 * $(base64 -d table.db | wc -l)) ))

best() { awk -v k="$1" '$1 == k { print $2 }' "$2" | sort -n | head -1; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
bench_save=$(awk '$1 == "write_ms" { w = $2 } $1 == "sync_ms" { print w - $2 }' bench.txt | sort -n | head -1)

echo "records             $records, ${WINDOW_TABLE:-generated}${WINDOW_LOAD:+, the window under $WINDOW_LOAD busy loops}"
echo "launch              $(best launch_ms window.txt) ms (exec to main)"
echo "start               $(best start_ms window.txt) ms (main to the end of the login)"
echo "open                $(best open_ms window.txt) ms after the login, goal 1000"
echo "  pause             $(best open_pause_ms window.txt) ms"
echo "  read              $(best open_read_ms window.txt) ms"
echo "  adopt             $(best open_adopt_ms window.txt) ms"
echo "  paint             $(best open_paint_ms window.txt) ms"
echo "scroll step         $(best scroll_ms window.txt) ms, slowest"
echo "refresh tick        $(best refresh_ms window.txt) ms, slowest"
win_sort=$(best sort_ms window.txt)
bench_sort=$(best sort_ms bench.txt)
echo "sort                $win_sort ms (+ $(best sort_sync_ms window.txt) ms sync of the settings), bench $bench_sort ms, ratio $(ratio "$win_sort" "$bench_sort"), goal 1.10"
win_save=$(best save_ms window.txt)
echo "save                $win_save ms (+ $(best save_sync_ms window.txt) ms sync), bench $bench_save ms, ratio $(ratio "$win_save" "$bench_save"), goal 1.10"
echo "close               $(best close_ms window.txt) ms to the end of the process, goal 300 (200 of them the pause)"
echo "bench open          $(best read_ms bench.txt) ms"
echo "bench peak          $((peak_kb * 1024)) bytes of open, sort and save, $(ratio $((peak_kb * 1024)) "$text_utf16") times the text"
