#!/usr/bin/env bash
# Installs what the build needs, builds the editor and starts it. Arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target lumigrid
exec ./build/release/src/lumigrid "$@"
