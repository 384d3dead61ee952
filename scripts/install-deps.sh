#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages needed to build, test and run Kelvorn, but only those
# that are missing: with everything present it returns at once, quietly, without network.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config clang-format clang-tidy
    qt6-base-dev libqt6opengl6-dev libmpv-dev fonts-liberation
    libx11-dev libxss-dev libxext-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth xdotool x11-xserver-utils libgl1-mesa-dri dbus
    sox libsox-fmt-mp3 lame ffmpeg
    librsvg2-bin lintian desktop-file-utils appstream man-db
)

if ! command -v dpkg-query >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then
    echo "install-deps: not a Debian-like system (no dpkg-query/apt-get);" \
         "please install the equivalents of: ${packages[*]}" >&2
    exit 0
fi

# One query for all: "ii " = wanted and installed; anything else (unknown, removed,
# half-configured) counts as missing.
declare -A installed=()
while read -r name status; do
    [[ "$status" == ii ]] && installed[$name]=1
done < <(dpkg-query -W -f='${Package} ${db:Status-Abbrev}\n' "${packages[@]}" 2>/dev/null || true)

missing=()
for pkg in "${packages[@]}"; do
    [[ -n "${installed[$pkg]:-}" ]] || missing+=("$pkg")
done

if ((${#missing[@]} == 0)); then
    exit 0
fi

echo "install-deps: installing ${missing[*]}"

if ((EUID == 0)); then
    as_root=()
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
    as_root=(sudo -n)
elif command -v sudo >/dev/null 2>&1 && [[ -t 0 ]]; then
    # Interactive terminal: let sudo ask for the password.
    as_root=(sudo)
else
    echo "install-deps: root rights are needed to install: ${missing[*]}" >&2
    echo "install-deps: run as root:  apt-get install -y --no-install-recommends ${missing[*]}" >&2
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -q --no-install-recommends "${missing[@]}"
