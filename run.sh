#!/usr/bin/env bash
# Installs what is missing, builds (Release, into build/), and starts the program.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh build "${TABLORA_BUILD_TYPE:-Release}" -DTABLORA_SANITIZE=OFF
exec ./build/tablora "$@"
