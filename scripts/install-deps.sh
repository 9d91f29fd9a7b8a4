#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Quillo need.
# Does nothing when they are all present, so the build commands can call it every time.
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    qt6-base-private-dev # the window tests ask the platform layer how it formats captions
    libsqlcipher-dev
    libicu-dev
    libxlsxwriter-dev
    libfreexl-dev
    libquazip1-qt6-dev
    fonts-noto-cjk
    fonts-arphic-uming # 宋体 in reports: a Ming face whose PDF text reads back as printed
    poppler-utils      # pdftotext: the printing tests read the PDFs they write
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
