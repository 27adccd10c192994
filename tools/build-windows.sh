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
  dpkg-dev                                   # dpkg-source, to unpack libcsv's sources
)
ensure_packages --no-recommends "${packages[@]}"

# libcsv is not packaged for mingw-w64: Debian's own source package is
# fetched once and built with the programs. It comes through a private list
# folder made from the machine's Debian sources, whose files stay untouched.
libcsv=build-windows/libcsv
if [[ ! -f $libcsv/src/libcsv.c ]]; then
  rm -rf "$libcsv"
  mkdir -p "$libcsv/parts" "$libcsv/lists/partial" "$libcsv/cache/archives/partial" "$libcsv/download"
  if [[ -f /etc/apt/sources.list.d/debian.sources ]]; then
    sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources >"$libcsv/parts/debian.sources"
  else
    grep -h '^deb .*debian' /etc/apt/sources.list | sed 's/^deb /deb-src /' >"$libcsv/parts/debian.list"
  fi
  apt=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$PWD/$libcsv/parts"
    -o "Dir::State::Lists=$PWD/$libcsv/lists" -o "Dir::Cache=$PWD/$libcsv/cache"
    -o APT::Sandbox::User=root)
  apt-get "${apt[@]}" -qq update
  (cd "$libcsv/download" && apt-get "${apt[@]}" -qq source --download-only libcsv)
  dpkg-source --no-check -x "$libcsv"/download/libcsv_*.dsc "$libcsv/src" >/dev/null
fi

# The windows preset: the toolchain file, Release, with libcsv's sources;
# the window's benchmark too when MIRAWEN_BENCH=ON (tools/bench-windows.sh).
configure windows "-DLIBCSV_SOURCE_DIR=$PWD/$libcsv/src" "-DMIRAWEN_BENCH=${MIRAWEN_BENCH:-OFF}"
if (($# > 0)); then
  cmake --build --preset windows --target "$@"
else
  cmake --build --preset windows
fi
