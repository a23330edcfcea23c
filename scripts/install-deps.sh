#!/usr/bin/env bash
# Installs, with apt-get, whatever of the build and run dependencies this Debian 12 machine
# lacks. Packages already present are left alone; nothing is installed when nothing is missing.
set -euo pipefail

packages=(
    cmake ninja-build clang lld pkg-config zlib1g-dev  # clang builds a third faster than g++
    libclang-rt-dev         # clang's sanitizer runtimes, for the sanitizer builds
    qt6-base-dev qt6-serialport-dev libgl-dev
    qt6-multimedia-dev      # local cameras (the module lumotrix-camera-local)
    gstreamer1.0-plugins-good  # without its video4linux source Qt lists no camera
    libeigen3-dev           # least-squares fits of the LED finder
    qt6-tools-dev qt6-l10n-tools  # lupdate and lrelease for the English translation
    fonts-noto-cjk          # the Chinese captions
    qt6-translations-l10n   # Qt's own buttons and dialogs in Chinese
    xvfb xauth              # a headless start, and screenshots
    "$@"
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
