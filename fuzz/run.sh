#!/usr/bin/env bash
# Builds the fuzz targets with clang, AddressSanitizer and UBSan in build-fuzz/
# and runs each in turn for SECONDS (default 3600) on its seed corpus. Inputs
# that reach new code are kept in build-fuzz/corpus/<name>, never in the
# repository; an input that breaks a check, crashes, leaks or hangs is saved
# in build-fuzz/artifacts/ and ends the script with exit code 1.
#
#   fuzz/run.sh [SECONDS] [TARGET...]      e.g. fuzz/run.sh 14400 (four hours each)
#
# Runs shorter than a minute (the smoke of test.sh) print one line per target.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-3600}
shift || true
targets=("$@")
if [ "${#targets[@]}" -eq 0 ]; then
    targets=(fuzz_database_reader fuzz_plain_reader fuzz_settings fuzz_clipboard_record fuzz_csv_reader fuzz_sort_keys)
fi

# Configured on every run, so that a target added since the folder was made
# is known to it.
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DTABLORA_FUZZ=ON >/dev/null
cmake --build build-fuzz --parallel 2 --target "${targets[@]}" >/dev/null

# A smaller quarantine than AddressSanitizer's 256 MB keeps hours-long runs
# well under the memory limit; freed memory is still poisoned for a while.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=32}

mkdir -p build-fuzz/artifacts build-fuzz/logs
for target in "${targets[@]}"; do
    name=${target#fuzz_}
    mkdir -p "build-fuzz/corpus/$name"
    log="build-fuzz/logs/$target.log"
    options=(-max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -print_final_stats=1
             -artifact_prefix="build-fuzz/artifacts/$target-")
    if [ "$seconds" -lt 60 ]; then
        if ! "build-fuzz/fuzz/$target" "${options[@]}" "build-fuzz/corpus/$name" "fuzz/corpus/$name" >"$log" 2>&1; then
            tail -n 40 "$log" >&2
            echo "fuzz: $target found a fault; the input is in build-fuzz/artifacts/" >&2
            exit 1
        fi
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1)
        echo "fuzz: $target ${runs:-?} runs, $cov edges, no fault"
    else
        "build-fuzz/fuzz/$target" "${options[@]}" "build-fuzz/corpus/$name" "fuzz/corpus/$name" 2>&1 | tee "$log"
    fi
done
