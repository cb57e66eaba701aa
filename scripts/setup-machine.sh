#!/usr/bin/env bash
# Installs what building and testing pdclean needs on Debian 12, only what is missing,
# and makes the Japanese locale that Wine needs for code page 932. With package names, a
# tool that needs more installs just those (without what they recommend).
set -euo pipefail

packages=(
    cmake make
    g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
    wine wine64 xvfb fonts-ipafont-gothic locales
    clang-14 libclang-rt-14-dev googletest libgtest-dev
    python3 python3-pefile python3-pil python3-pytest python3-hypothesis
)
options=()
if [ $# -gt 0 ]; then
    packages=("$@")
    options=(--no-install-recommends)
fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${options[@]}" "${missing[@]}" >/dev/null
fi
if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf-\?8$'; then
    sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    $sudo locale-gen >/dev/null
fi
