#!/usr/bin/env bash
# Installs what building and testing need, builds the test build into
# build-asan/ (the program, its converter, the test programs and the bench;
# clang, assertions on, warnings as errors, AddressSanitizer and
# UndefinedBehaviorSanitizer, the first report fatal), and runs every test
# there, headless. Arguments go to ctest ("-R tst_table").
# A whole run also checks that every C++ source is laid out as .clang-format
# says, and runs the fuzz targets for a few seconds.
set -euo pipefail
cd "$(dirname "$0")"
# Compiled with clang where it is installed (the set-up installs it): its
# UBSan also reports arithmetic on a null pointer, which g++'s lets pass.
./scripts/setup.sh build-asan Debug -DTABLORA_SANITIZE=ON -DTABLORA_WERROR=ON -DCMAKE_CXX_COMPILER=clang++ \
    -DBUILD_TESTING=ON
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build-asan --output-on-failure --timeout 300 "$@"

# The layout: clang-format changes no tracked C++ source (where clang-format is
# installed; not when only some tests were asked for). scripts/format.sh lays
# the tree out.
if [ "$#" -eq 0 ] && command -v clang-format >/dev/null 2>&1; then
    scripts/format.sh --check
fi

# The fuzz smoke: each libFuzzer target of fuzz/ for a few seconds under
# AddressSanitizer and UBSan, where clang is installed. Not when only some
# tests were asked for.
if [ "$#" -eq 0 ] && command -v clang++ >/dev/null 2>&1; then
    fuzz/run.sh 7
fi
