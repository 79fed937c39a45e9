#!/usr/bin/env bash
# Sets everything up, builds, and starts Quavero.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh
bash scripts/build.sh
BIN=${QUAVERO_BUILD_DIR:-build}/bin/quavero
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting Quavero under a virtual X server." >&2
  exec xvfb-run -a "$BIN" "$@"
fi
exec "$BIN" "$@"
