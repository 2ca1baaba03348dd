#!/usr/bin/env bash
# Builds and starts the application. With no pedal attached the demo launcher runs it against the
# built-in simulated pedal and a local update server.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$(scripts/build.sh | tail -n 1)
if [ -x "$dir/hv_demo" ]; then
  exec "$dir/hv_demo" "$@"
fi
exec "$dir/HVPlatformUpdater"
