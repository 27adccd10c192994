#!/usr/bin/env bash
# Runs a test with a sound server of its own whose only device is a null sink;
# without pulseaudio the test runs without one, and skips what needs it.
# Usage: with_null_sink.sh PROGRAM [ARGUMENT...]
set -euo pipefail
# shellcheck source=SCRIPTDIR/../../tools/lib.sh
. "$(dirname "$0")/../../tools/lib.sh"
if command -v pulseaudio >/dev/null && command -v pactl >/dev/null; then
  make_work_dir
  start_null_sink
fi
"$@"
