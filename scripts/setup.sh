#!/usr/bin/env bash
# Installs, as root on Debian 12, whatever the build and tests need and is missing.
# A second run finds everything in place and returns at once.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config ccache
    libgtest-dev libgmock-dev
    qt6-base-dev librtmidi-dev jackd2
    libsndfile1-dev librtaudio-dev libjack-jackd2-dev libasound2-dev
    desktop-file-utils appstream
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
        echo "These packages are missing and installing them needs root: ${missing[*]}" >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
