#!/usr/bin/env bash
# Lays out every tracked C++ source as .clang-format says (clang-format -i),
# the same check ./test.sh makes. With --check it changes nothing and fails
# when a file would change.
#
#   scripts/format.sh [--check]
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v clang-format >/dev/null 2>&1; then
    echo "clang-format is not installed (./test.sh installs it)" >&2
    exit 1
fi
if [ "${1-}" = --check ]; then
    mode=(--dry-run --Werror)
elif [ "$#" -eq 0 ]; then
    mode=(-i)
else
    echo "usage: $0 [--check]" >&2
    exit 2
fi

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z '*.h' '*.cpp' | xargs -0 clang-format "${mode[@]}"
else
    find src tests bench fuzz resources \( -name '*.h' -o -name '*.cpp' \) -print0 | xargs -0 clang-format "${mode[@]}"
fi
