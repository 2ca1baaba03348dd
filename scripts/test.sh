#!/usr/bin/env bash
# Builds everything and runs every test under a virtual X display.
# Usage: scripts/test.sh [--debug] [--sanitize] [extra ctest arguments]
set -euo pipefail
cd "$(dirname "$0")/.."

build_args=()
ctest_args=()
for arg in "$@"; do
  case "$arg" in
    --debug|--sanitize) build_args+=("$arg") ;;
    *) ctest_args+=("$arg") ;;
  esac
done

dir=$(scripts/build.sh "${build_args[@]}" | tail -n 1)
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
cd "$dir"
xvfb-run -a -s "-screen 0 1280x1024x24" \
  ctest --output-on-failure --timeout 180 "${ctest_args[@]}"
