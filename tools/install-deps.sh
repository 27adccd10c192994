#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Mirawen
# need, only those that are missing.
set -euo pipefail

packages=(
  cmake make g++ pkg-config git
  clang-format                        # the test command checks the layout of the code
  clang libclang-rt-14-dev            # the sanitizer build and libFuzzer
  libgtest-dev libbenchmark-dev
  libcsv-dev                          # mirawen-import reads ECDICT's CSV
  qt6-base-dev qt6-translations-l10n   # the window, and Qt's own texts in Chinese
  qt6-multimedia-dev espeak-ng         # speech: eSpeak NG's samples played through Qt
  pulseaudio pulseaudio-utils sox      # a null sound device for the speech tests, and a meter
  fonts-wqy-microhei fonts-dejavu-core # a Chinese face for the dialogs
  xvfb xauth xdotool python3-pil       # the real-window tests (a screenshot of the installed one)
)

exec "$(dirname "$0")/ensure-packages.sh" "${packages[@]}"
