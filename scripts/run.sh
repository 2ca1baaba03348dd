#!/usr/bin/env bash
# Builds and starts the demo: the application with a simulated Nimbrel and a local update server,
# under its own home folder (~/.cache/halvane-demo). Without the demo it starts the product.
set -euo pipefail
cd "$(dirname "$0")/.."
dir="$PWD/$(scripts/build.sh | tail -n 1)"  # absolute: the framework takes the program path from argv[0]
if [ -x "$dir/demo" ]; then
  exec "$dir/demo" "$@"
fi
exec "$dir/HVPlatformUpdater"
