#!/usr/bin/env bash
# Configures and builds the project. Usage: scripts/build.sh [--debug] [--sanitize] [target...]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

config=Release
sanitize=OFF
targets=()
for arg in "$@"; do
  case "$arg" in
    --debug) config=Debug ;;
    --sanitize) sanitize=ON; config=Debug ;;
    *) targets+=("$arg") ;;
  esac
done

dir="build/$(echo "$config" | tr 'A-Z' 'a-z')"
[ "$sanitize" = ON ] && dir="build/sanitize"
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$config" -DHV_SANITIZE="$sanitize" >/dev/null
if [ ${#targets[@]} -gt 0 ]; then
  cmake --build "$dir" --target "${targets[@]}"
else
  cmake --build "$dir"
fi
echo "$dir"
