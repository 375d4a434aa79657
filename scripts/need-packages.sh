#!/usr/bin/env bash
# Installs those of the given Debian packages that are missing (apt-get, with sudo when not
# root). The check scripts call it with the tools they need on top of the build's own.
set -euo pipefail

missing=()
for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo=""
    [[ $(id -u) -ne 0 ]] && sudo=sudo
    # A package of another architecture (wine32:i386) needs that architecture first.
    for p in "${missing[@]}"; do
        arch=${p##*:}
        if [[ $p == *:* ]] && ! dpkg --print-foreign-architectures | grep -qx "$arch"; then
            $sudo dpkg --add-architecture "$arch"
        fi
    done
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
