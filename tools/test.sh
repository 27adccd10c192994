#!/usr/bin/env bash
# Checks the code's layout, then builds and runs every test: a normal build;
# the whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer
# with clang (which also runs the word-list fuzzer briefly); the tests without
# a window under ThreadSanitizer, since the word lists load and sort on two
# threads; the Debian package, built and checked; and the Windows programs,
# their tests and packages under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
jobs=$(nproc)

# The code follows .clang-format, every file of it.
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --parallel "$jobs"
ctest --test-dir build --output-on-failure --parallel "$jobs"

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
  -DMIRAWEN_SANITIZE=address -DMIRAWEN_FUZZ=ON -DMIRAWEN_BENCH=OFF >/dev/null
cmake --build build-asan --parallel "$jobs"
ctest --test-dir build-asan --output-on-failure --parallel "$jobs"

cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DMIRAWEN_SANITIZE=thread -DMIRAWEN_GUI=OFF -DMIRAWEN_BENCH=OFF >/dev/null
cmake --build build-tsan --parallel "$jobs"
ctest --test-dir build-tsan --output-on-failure --parallel "$jobs"

# The Debian package, checked by the validators and run from an unpacked copy.
tools/package.sh

# The Windows programs, cross-built with mingw-w64, and their tests under Wine.
tools/test-windows.sh
