#!/usr/bin/env bash
# The Windows tests again with the display set to another scale, as a
# learner's laptop at 125 % or 150 % is: each process reads the setting when
# it starts, so the suite sees the DPI it is told of, and checks that it got
# it. The setting goes back to 100 % whatever happens, for the tests after.
#
#   dpi.sh DPI win_tests.exe
set -uo pipefail
dpi=$1
desktop='HKCU\Control Panel\Desktop'
set_dpi() { wine reg add "$desktop" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1; }
trap 'set_dpi 96' EXIT
set_dpi "$dpi" || { echo "dpi: cannot set LogPixels to $dpi" >&2; exit 1; }
MIRAWEN_TEST_DPI=$dpi wine "$2"
