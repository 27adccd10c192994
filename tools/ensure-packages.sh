#!/usr/bin/env bash
# Installs the named Debian packages that are missing, and nothing when none
# is, so that a second run costs nothing. The scripts that need packages go
# through here, or through ensure_packages in tools/lib.sh, which this runs.
#
#   tools/ensure-packages.sh [--no-recommends] PACKAGE...
set -euo pipefail
# shellcheck source=SCRIPTDIR/lib.sh
. "$(dirname "$0")/lib.sh"

ensure_packages "$@"
