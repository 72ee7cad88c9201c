#!/usr/bin/env bash
# Installs what is missing, builds the test build into build-asan/ (assertions
# on, AddressSanitizer and UndefinedBehaviorSanitizer, the first report fatal),
# and runs every test there, headless. Arguments go to ctest ("-R tst_table").
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh build-asan Debug -DTABLORA_SANITIZE=ON
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build-asan --output-on-failure --timeout 300 "$@"
