#!/usr/bin/env bash
# Installs what building and running need, builds the program and its
# converter (Release, into build/; no test and no bench), and starts the program.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh build "${TABLORA_BUILD_TYPE:-Release}" -DTABLORA_SANITIZE=OFF -DBUILD_TESTING=OFF
exec ./build/tablora "$@"
