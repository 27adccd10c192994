#!/usr/bin/env bash
# Builds the Windows programs (tools/build-windows.sh) and runs every Windows
# test under Wine in a virtual X server: `ctest --preset windows` runs the
# GoogleTest suites (one CTest test each), the real-window smoke test and the
# installer's round trip, one at a time, and its summary ends the output.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=SCRIPTDIR/lib.sh
. tools/lib.sh
root=$PWD

if [[ ${1:-} != --in-x ]]; then
  packages=(
    wine wine64 fonts-wine               # only 64-bit Wine: the programs are 64-bit
    xvfb xauth xdotool x11-apps          # the virtual X server, the smoke test's keys and xwd
    fonts-wqy-microhei                   # a face for the dialogs' Chinese under Wine
  )
  ensure_packages --no-recommends "${packages[@]}"
  tools/build-windows.sh
fi

# The same as the tests' own environment (cmake/GoogleTestSuites.cmake).
export WINEPREFIX=$root/build-windows/wineprefix WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=" LANG=C.UTF-8

# The prefix is made once and kept with the build (made again when this
# recipe changes). Wine's own fonts are linked in (Debian's Wine does not load
# them itself), and the template face 宋体 is replaced by a Chinese face; the
# phonetic face gets no link, so that the list's Chinese shows only if the
# program draws it in the dialog font. No window manager runs in the virtual
# X server: unmanaged windows close at once instead of after Wine has waited
# two seconds for one.
prefix_recipe=2
make_prefix() {
  rm -rf "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  ln -sf /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
  python3 - "$WINEPREFIX/mirawen.reg" <<'PY'
import sys
link = "wqy-microhei.ttc,WenQuanYi Micro Hei\0\0".encode("utf-16-le").hex(",")
text = ("Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n"
        "\"宋体\"=\"WenQuanYi Micro Hei\"\r\n\"SimSun\"=\"WenQuanYi Micro Hei\"\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]\r\n"
        "\"Tahoma\"=hex(7):" + link + "\r\n\"Tahoma Bold\"=hex(7):" + link + "\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n\"Managed\"=\"N\"\r\n")
open(sys.argv[1], "wb").write(b"\xff\xfe" + text.encode("utf-16-le"))
PY
  wine regedit /S "$WINEPREFIX/mirawen.reg" >/dev/null 2>&1
  wineserver -w
  echo "$prefix_recipe" >"$WINEPREFIX/.mirawen-recipe"
}

if [[ ${1:-} != --in-x ]]; then
  [[ $(cat "$WINEPREFIX/.mirawen-recipe" 2>/dev/null) == "$prefix_recipe" ]] || make_prefix
  # A wineserver started without the display would outlive this and refuse windows.
  wineserver -w
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" --in-x
fi

# CTest runs the tests one at a time (they share the display and one
# wineserver, which its first test starts and its last ends).
exec ctest --preset windows
