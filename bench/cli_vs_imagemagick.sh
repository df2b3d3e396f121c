#!/usr/bin/env bash
# Times lumigrid-cli against ImageMagick on the same 4000 x 3000 JPEG, whole processes side by
# side in one run. Installs ImageMagick (Debian/Ubuntu) when it is missing; the build never needs it.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! dpkg-query -W -f='${Status}' imagemagick 2>/dev/null | grep -q "install ok installed"; then
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends imagemagick
fi
cmake --preset release > /dev/null
cmake --build --preset release --target cli_bench lumigrid-cli
IMAGEMAGICK_CONVERT=$(command -v convert-im6.q16 || echo /usr/bin/convert) \
  exec build/release/bench/cli_bench "$@"
