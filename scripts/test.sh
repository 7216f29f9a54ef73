#!/usr/bin/env bash
# Installs what the build needs, builds the given preset (default: "default") and runs every test.
set -euo pipefail
preset="${1:-default}"
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)"
ctest --preset "$preset"
