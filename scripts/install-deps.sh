#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The TROLK developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs the Debian packages that building, running and testing TROLK need (make run,
# make check); with --extra also those of make check-all, make bench and make fuzz.
# Only packages that are missing are installed; nothing happens when all are there.
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    libsdl1.2-dev libsdl-mixer1.2-dev libmodplug-dev zlib1g-dev libgl-dev
    libgtest-dev libstb-dev
    xvfb xauth xdotool x11-utils imagemagick libgl1-mesa-dri
    desktop-file-utils appstream groff-base
    # The mutation check (make mutants) and the test of its list: python3 runs it, ccache
    # compiles the sources it restores after each mutant from its cache.
    python3 ccache
)
if [ "${1:-}" = "--extra" ]; then
    # Benchmarks and fuzzing; the slow checks of make check-all: sdl12-compat (the SDL 1.2
    # over SDL 2 that most distributions ship today) for the window tests, reuse and
    # lintian for the licences and the Debian package.
    packages+=(libsdl-gfx1.2-dev clang libclang-rt-14-dev libfuzzer-14-dev
        libsdl1.2-compat reuse lintian)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing Debian packages: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
