#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Vastrel need.
# Does nothing when everything is already there.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev libqt6sql6-sqlite libqt6sql6-psql postgresql libglib2.0-dev fonts-dejavu-core qt6-translations-l10n
    libgtest-dev libbenchmark-dev libfreexl-dev shared-mime-info libicu-dev
    clang libclang-rt-14-dev desktop-file-utils libxlsxwriter-dev poppler-utils python3-openpyxl
    xvfb xauth imagemagick libfaketime libqrencode-dev zlib1g-dev chromium
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
