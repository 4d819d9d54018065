#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing. At run time
# the programs also use Qt's own catalogue (standard buttons) and the SVG plugins (icons).
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config
          qtbase5-dev libqt5websockets5-dev qttools5-dev qttools5-dev-tools
          libbenchmark-dev qttranslations5-l10n libqt5svg5 ccache "$@")

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
    sudo=""
    [[ $(id -u) -ne 0 ]] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
