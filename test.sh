#!/usr/bin/env bash
# Installs what the build needs, builds everything and runs the whole test suite headless.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh
export QT_QPA_PLATFORM=offscreen
cmake --preset release >/dev/null
cmake --build --preset release
ctest --preset release "$@"
