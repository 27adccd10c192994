#!/usr/bin/env bash
# Cross-builds the Windows programs with mingw-w64 into build-windows/: the
# window (mirawen.exe), the command line (mirawen-lookup.exe), their tests,
# and the packages (the zip and the installer). Installs the Debian packages
# it needs, only when one is missing.
#
#   tools/build-windows.sh            everything
#   tools/build-windows.sh TARGET...  only those CMake targets
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake make python3
  g++-mingw-w64-x86-64-posix mingw-w64-tools # the compilers and windres
  googletest                                 # sources, built for Windows with the tests
  nsis                                       # the installer
)
tools/ensure-packages.sh --no-recommends "${packages[@]}"

jobs=$(($(nproc) < 2 ? $(nproc) : 2))
# The toolchain is read when the build folder is made, and only then.
toolchain=()
[[ -f build-windows/CMakeCache.txt ]] || toolchain=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake)
cmake -S . -B build-windows "${toolchain[@]}" -DCMAKE_BUILD_TYPE=Release -DMIRAWEN_BENCH=OFF >/dev/null
if (($# > 0)); then
  cmake --build build-windows --parallel "$jobs" --target "$@"
else
  cmake --build build-windows --parallel "$jobs"
fi
