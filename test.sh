#!/usr/bin/env bash
# Installs what is missing, builds the test build into build-asan/ (assertions
# on, AddressSanitizer and UndefinedBehaviorSanitizer, the first report fatal),
# and runs every test there, headless. Arguments go to ctest ("-R tst_table").
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh build-asan Debug -DTABLORA_SANITIZE=ON
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build-asan --output-on-failure --timeout 300 "$@"

# The fuzz smoke: each libFuzzer target of fuzz/ for a few seconds under
# AddressSanitizer and UBSan, where clang is installed. Not when only some
# tests were asked for.
if [ "$#" -eq 0 ] && command -v clang++ >/dev/null 2>&1; then
    fuzz/run.sh 7
fi
