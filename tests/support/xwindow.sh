# shellcheck shell=bash
# Helpers for the tests that drive a real window in a virtual X server with
# xdotool (tests/app/*.sh, tests/win/*.sh), which source this file:
#
#   # shellcheck source=SCRIPTDIR/../support/xwindow.sh
#   . "$(dirname "$0")/../support/xwindow.sh"
#
# No window manager runs there: nobody gives a new window the keyboard, so a
# window is focused by hand before it is typed into. Windows are found by
# their exact title. Also brings tools/lib.sh (make_work_dir, at_exit).

# shellcheck source=SCRIPTDIR/../../tools/lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/../../tools/lib.sh"

# fail MESSAGE...: the test fails, saying why.
fail() {
  echo "$script: $*" >&2
  exit 1
}

# start_program COMMAND [ARGUMENT...]: starts it in the background, its
# process in $pid; it is killed when the test exits if it still runs.
pid=
start_program() {
  "$@" &
  # shellcheck disable=SC2034 # the tests read it
  pid=$!
  # shellcheck disable=SC2016 # expanded at exit
  at_exit '[[ -z $pid ]] || kill "$pid" 2>/dev/null'
}

# window_id TITLE: prints the newest visible window titled exactly TITLE, or
# nothing.
window_id() {
  local pattern
  # shellcheck disable=SC2001,SC2016 # every special character of a regular expression
  pattern=$(sed 's/[][\.*^$(){}+?|]/\\&/g' <<<"$1")
  xdotool search --onlyvisible --name "^$pattern\$" 2>/dev/null | tail -n 1 || true
}

# wait_window TITLE [SECONDS]: waits (30 s unless told) for a visible window
# titled TITLE, and sets $window to it; returns 1 if none came.
window=
wait_window() {
  local i
  for ((i = 0; i < ${2:-30} * 10; i++)); do
    window=$(window_id "$1")
    [[ -z $window ]] || return 0
    sleep 0.1
  done
  return 1
}

# wait_gone TITLE [SECONDS]: waits (10 s unless told) until no visible window
# is titled TITLE; returns 1 if one still is.
wait_gone() {
  local i
  for ((i = 0; i < ${2:-10} * 10; i++)); do
    [[ -n $(window_id "$1") ]] || return 0
    sleep 0.1
  done
  return 1
}

# focus TITLE: waits for the window titled TITLE, in $window, and gives it the
# keyboard; the test fails if it does not come.
focus() {
  wait_window "$1" || fail "no window titled '$1'"
  xdotool windowfocus --sync "$window"
}

# wait_exit PID [SECONDS]: waits (30 s unless told) for the process to end;
# returns 1 if it still runs.
wait_exit() {
  local i
  for ((i = 0; i < ${2:-30} * 10; i++)); do
    kill -0 "$1" 2>/dev/null || return 0
    sleep 0.1
  done
  return 1
}
