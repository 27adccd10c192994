# shellcheck shell=bash
# Shell helpers shared by the scripts in tools/ and the tests' scripts, which
# source this file:
#
#   # shellcheck source=SCRIPTDIR/lib.sh
#   . "$(dirname "$0")/lib.sh"
#
# It defines functions, $script (the script's name, for its messages) and
# $source_dir, and changes nothing else.

script=${0##*/}
script=${script%.sh}
# The source folder, wherever the script was started from.
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# die MESSAGE...: the script cannot go on (status 2, as for a wrong use).
die() {
  echo "$script: $*" >&2
  exit 2
}

# at_exit COMMAND: runs COMMAND (a line of shell) when the script exits, the
# last one added first; its failure changes nothing.
_at_exit=()
at_exit() {
  _at_exit+=("$1")
  trap _run_at_exit EXIT
}
_run_at_exit() {
  local i
  for ((i = ${#_at_exit[@]} - 1; i >= 0; i--)); do
    eval "${_at_exit[i]}" || true
  done
}

# make_work_dir: a new, empty temporary folder in $work, removed with
# everything in it when the script exits.
make_work_dir() {
  work=$(mktemp -d)
  at_exit "rm -rf $(printf '%q' "$work")"
}

# start_null_sink: a sound server of the caller's own in $work (made by
# make_work_dir), with a null sink as the default device and its own runtime
# folder and home, so that no cookie of the user's is read; ended at exit.
# Returns non-zero, with the server's log on standard error, when it does not
# start.
start_null_sink() {
  export XDG_RUNTIME_DIR=$work/runtime HOME=$work/home
  mkdir -m 700 "$XDG_RUNTIME_DIR" "$HOME"
  pulseaudio -n --daemonize=no --exit-idle-time=-1 -L module-native-protocol-unix \
    -L "module-null-sink sink_name=nullsink" >"$work/pulse.log" 2>&1 &
  _pulse=$!
  # shellcheck disable=SC2016 # expanded at exit
  at_exit '[[ -z $_pulse ]] || kill "$_pulse" 2>/dev/null'
  if ! timeout 30 bash -c 'until pactl info >/dev/null 2>&1; do sleep 0.1; done'; then
    cat "$work/pulse.log" >&2
    return 1
  fi
  pactl set-default-sink nullsink
}

# stop_null_sink: ends that server now; the programs then have no sound device.
stop_null_sink() {
  kill "$_pulse" 2>/dev/null
  wait "$_pulse" || true
  _pulse=
}

# ensure_packages [--no-recommends] PACKAGE...: installs the Debian packages
# that are missing, and does nothing when none is, so that a second run costs
# nothing.
ensure_packages() {
  local options=() missing=() package
  if [[ ${1:-} == --no-recommends ]]; then
    options=(--no-install-recommends)
    shift
  fi
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$package")
    fi
  done
  ((${#missing[@]} > 0)) || return 0

  echo "Installing: ${missing[*]}"
  local sudo=()
  [[ $(id -u) -eq 0 ]] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${options[@]}" "${missing[@]}" \
    >/dev/null
}

# configure PRESET [CMAKE-ARGUMENT...]: configures the build folder of one of
# CMakePresets.json's presets, run from the source folder. With
# MIRAWEN_WERROR=ON in the environment (tools/test.sh sets it) warnings are
# errors; otherwise the folder keeps what it had.
configure() {
  local werror=()
  [[ ${MIRAWEN_WERROR:-} != ON ]] || werror=(-DMIRAWEN_WERROR=ON)
  cmake --preset "$1" "${werror[@]}" "${@:2}" >/dev/null
}

# build_for_bench TARGET...: build/ (the default preset) configured with the
# benchmarks on, and these targets in it brought up to date. The build's own
# output goes to standard error.
build_for_bench() {
  (cd "$source_dir" && tools/install-deps.sh && configure default &&
    cmake --build --preset default --target "$@") >&2
}

# wine_environment PREFIX: the Windows programs' environment under Wine, the
# same as the tests' own (cmake/GoogleTestSuites.cmake).
wine_environment() {
  export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=C.UTF-8
}

# ensure_wine_prefix: $WINEPREFIX made, or made again when its recipe below
# has changed, and no wineserver left running. The prefix is kept with the
# build. Wine's own fonts are linked in (Debian's Wine does not load
# them itself), and the template face 宋体 is replaced by a Chinese face; the
# phonetic face gets no link, so that the list's Chinese shows only if the
# program draws it in the dialog font. No window manager runs in the virtual
# X server: unmanaged windows close at once instead of after Wine has waited
# two seconds for one.
_wine_prefix_recipe=2
_make_wine_prefix() {
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
  echo "$_wine_prefix_recipe" >"$WINEPREFIX/.mirawen-recipe"
}
ensure_wine_prefix() {
  [[ $(cat "$WINEPREFIX/.mirawen-recipe" 2>/dev/null) == "$_wine_prefix_recipe" ]] || _make_wine_prefix
  # A wineserver started without the display would outlive this and refuse windows.
  wineserver -w
}
