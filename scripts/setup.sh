#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, only what is missing.
set -euo pipefail

packages=(
    cmake ninja-build g++ g++-mingw-w64-x86-64 mingw-w64-tools doctest-dev
    clang libclang-rt-14-dev
    wine wine64 fonts-wine
    xvfb xauth xdotool x11-utils openbox imagemagick fonts-ipafont-gothic locales
    python3
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "setup: installing ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Japanese for the program; English for the test that runs it under another
# code page.
for loc in ja_JP en_US; do
    locale -a 2>/dev/null | grep -qi "^$loc\.utf8\$" && continue
    echo "setup: generating the $loc.UTF-8 locale"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo sed -i "s/^# *\($loc.UTF-8 UTF-8\)/\1/" /etc/locale.gen
    grep -q "^$loc.UTF-8 UTF-8" /etc/locale.gen || echo "$loc.UTF-8 UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
    $sudo locale-gen >/dev/null
done
