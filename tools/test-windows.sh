#!/usr/bin/env bash
# Builds the Windows programs (tools/build-windows.sh) and runs every Windows
# test under Wine in a virtual X server: the GoogleTest suites of the core,
# the codec, the command line and the dialogs, the real-window smoke test and
# the installer's round trip. Ends with its own "N passed, N failed" line.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

if [[ ${1:-} != --in-x ]]; then
  packages=(
    wine wine64 fonts-wine               # only 64-bit Wine: the programs are 64-bit
    xvfb xauth xdotool x11-apps          # the virtual X server, the smoke test's keys and xwd
    fonts-wqy-microhei                   # a face for the dialogs' Chinese under Wine
  )
  tools/ensure-packages.sh --no-recommends "${packages[@]}"
  tools/build-windows.sh
fi

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

bin=$root/build-windows/bin
passed=0
failed=0

# A GoogleTest program: its tests count one by one; what failed is shown.
run_gtest() {
  local log status=0
  log=$(mktemp)
  (cd "$bin" && wine "$1") >"$log" 2>&1 || status=$?
  local ok bad
  ok=$(grep -c '^\[       OK \]' "$log" || true)
  bad=$(grep -c '^\[  FAILED  \] .*([0-9]* ms)$' "$log" || true)
  if ((bad > 0 || status != 0)); then
    grep -v -e 'wine32 is missing' -e 'multiarch' -e 'dpkg --add-architecture' \
      -e '^\[       OK \]' -e '^\[ RUN      \]' "$log" || true
    ((bad > 0)) || bad=1 # it ended before its summary
  fi
  echo "$1: $ok passed, $bad failed"
  passed=$((passed + ok))
  failed=$((failed + bad))
  rm -f "$log"
}

# A shell test: one test, passed when it exits 0.
run_script() {
  if bash "$@"; then
    passed=$((passed + 1))
  else
    echo "FAILED: $*"
    failed=$((failed + 1))
  fi
}

wineserver -p 60 # one server for all the runs below
for suite in vocab_tests.exe codec_tests.exe lookup_tests.exe cli_tests.exe win_tests.exe; do
  run_gtest "$suite"
done
run_script tests/win/smoke.sh "$bin/mirawen.exe" samples
if ls build-windows/packages/mirawen-*-setup.exe >/dev/null 2>&1; then
  run_script tests/win/install.sh build-windows/packages
fi
wineserver -k || true
echo "$passed passed, $failed failed"
((failed == 0))
