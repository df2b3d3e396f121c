#!/usr/bin/env bash
# Installs the packages the build and the tests need (Debian/Ubuntu), only those missing.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config ccache make
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
  libpng-dev libjpeg-dev libgif-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fontconfig fonts-dejavu-core fonts-liberation2
  gputils
  clang libclang-rt-dev
  dpkg-dev file desktop-file-utils appstream shared-mime-info libxml2-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
