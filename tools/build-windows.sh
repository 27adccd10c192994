#!/usr/bin/env bash
# Cross-builds the Windows programs with mingw-w64 into build-windows/ (the
# windows preset): the window (mirawen.exe), the command line
# (mirawen-lookup.exe), their tests, and the packages (the zip and the
# installer). Installs the Debian packages it needs, only when one is missing.
#
#   tools/build-windows.sh            everything
#   tools/build-windows.sh TARGET...  only those CMake targets
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=SCRIPTDIR/lib.sh
. tools/lib.sh

packages=(
  cmake make python3
  g++-mingw-w64-x86-64-posix mingw-w64-tools # the compilers and windres
  googletest                                 # sources, built for Windows with the tests
  nsis                                       # the installer
)
ensure_packages --no-recommends "${packages[@]}"

# The windows preset: the toolchain file, Release.
configure windows
if (($# > 0)); then
  cmake --build --preset windows --target "$@"
else
  cmake --build --preset windows
fi
