#!/usr/bin/env bash
# Installs what is missing, builds with the given preset (debug by default) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-debug}"
scripts/setup.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset"
