#!/usr/bin/env bash
# Checks the code's layout, then builds and runs every test: a normal build;
# the whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer
# with clang (which also runs the word-list fuzzer briefly); the tests without
# a window under ThreadSanitizer, since the word lists load and sort on two
# threads; the Debian package, built and checked; and the Windows programs,
# their tests and packages under Wine. Each build is one of the presets in
# CMakePresets.json, with the compiler's warnings made errors.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=SCRIPTDIR/lib.sh
. tools/lib.sh

tools/install-deps.sh
export MIRAWEN_WERROR=ON

# The code follows .clang-format, every file of it; where shellcheck is
# installed, the scripts pass it.
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
if command -v shellcheck >/dev/null; then
  git ls-files -z '*.sh' .ci/run | xargs -0 shellcheck -x
fi

for preset in default asan tsan; do
  configure "$preset"
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done

# The Debian package, checked by the validators and run from an unpacked copy.
tools/package.sh

# The Windows programs, cross-built with mingw-w64, and their tests under Wine.
tools/test-windows.sh
