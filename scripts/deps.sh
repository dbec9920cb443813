#!/usr/bin/env bash
# Installs the Debian packages Mivo needs to build, run and test, when any is missing.
set -euo pipefail

PACKAGES=(
    g++ cmake pkg-config ccache clang-format git qt6-translations-l10n
    qt6-base-dev qt6-httpserver-dev qt6-websockets-dev
    libsqlite3-dev sqlite3 libqrencode-dev libcups2-dev
    fonts-wqy-zenhei fonts-droid-fallback xvfb xauth zbar-tools
)

missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
    SUDO=""
    if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
    echo "Installing: ${missing[*]}"
    $SUDO apt-get update
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
