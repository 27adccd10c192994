#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Mirawen
# need, only when one is missing, so that a second run costs nothing.
set -euo pipefail

packages=(
  cmake make g++ pkg-config
  clang libclang-rt-14-dev            # the sanitizer build and libFuzzer
  libgtest-dev libbenchmark-dev
  libcsv-dev                          # mirawen-import reads ECDICT's CSV
  qt6-base-dev qt6-translations-l10n   # the window, and Qt's own texts in Chinese
  fonts-wqy-microhei fonts-dejavu-core # a Chinese face for the dialogs
  xvfb xauth xdotool python3-pil       # the real-window tests (a screenshot of the installed one)
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
((${#missing[@]} == 0)) && exit 0

echo "Installing: ${missing[*]}"
sudo=()
if [[ $(id -u) -ne 0 ]]; then
  sudo=(sudo)
fi
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
