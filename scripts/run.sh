#!/usr/bin/env bash
# Installs what is missing, builds the terminal and its plug-in (release preset) and starts it
# on the embedded risk server. Without a display it runs on Qt's offscreen platform.
# Arguments go to halvo-host (try --help).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release --target halvo-host
if [[ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
  export QT_QPA_PLATFORM=offscreen
fi
exec build/release/bin/halvo-host "$@"
