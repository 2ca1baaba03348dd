#!/usr/bin/env bash
# Builds and starts the application. With a Halvane pedal (or a pedal waiting in its ROM
# bootloader) plugged in, the product itself runs; otherwise the demo runs: the application with
# a simulated Nimbrel and a local update server, under its own home folder (~/.cache/halvane-demo).
set -euo pipefail
cd "$(dirname "$0")/.."
dir="$PWD/$(scripts/build.sh | tail -n 1)"  # absolute: the framework takes the program path from argv[0]

pedal_attached() {
  local device vendor product
  for device in /sys/bus/usb/devices/*; do
    [ -r "$device/idVendor" ] || continue
    vendor=$(tr 'A-Z' 'a-z' < "$device/idVendor")
    product=$(tr 'A-Z' 'a-z' < "$device/idProduct")
    case "$vendor:$product" in
      7a5c:b301|7a5c:b302|7a5c:b303|03eb:6124) return 0 ;;
    esac
  done
  return 1
}

if ! pedal_attached && [ -x "$dir/demo" ]; then
  exec "$dir/demo" "$@"
fi
exec "$dir/HVPlatformUpdater"
