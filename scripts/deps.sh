#!/usr/bin/env bash
# Installs the Debian packages KOVA X needs, only those that are missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config git
    zlib1g-dev nlohmann-json3-dev
    libdcmtk-dev dcmtk python3-pydicom
    googletest libgtest-dev libbenchmark-dev
    qt6-base-dev libgl-dev qt6-charts-dev libqt6opengl6-dev
    libqt6sql6-sqlite libqt6sql6-psql
    fonts-liberation
    clang clang-format
    xvfb xauth poppler-utils
    postgresql
    dpkg-dev file help2man librsvg2-bin desktop-file-utils
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Please install as root: ${missing[*]}" >&2; exit 1; }
    sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update
"${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
