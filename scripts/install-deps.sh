#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need.
# Runs apt-get only when something is missing, so repeated calls are quick.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config git
  clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libusb-1.0-0-dev
  umockdev libumockdev-dev libglib2.0-dev
  python3 python3-pandas python3-dev python3-numpy python3-pytest pybind11-dev
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-tools-dev qt6-l10n-tools qt6-translations-l10n libgl-dev fonts-noto-cjk
  xvfb xauth xdotool imagemagick
  dpkg-dev file lintian desktop-file-utils shared-mime-info man-db
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
