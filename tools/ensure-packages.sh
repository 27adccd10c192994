#!/usr/bin/env bash
# Installs the named Debian packages that are missing, and nothing when none
# is, so that a second run costs nothing. Every script that needs packages
# goes through here.
#
#   tools/ensure-packages.sh [--no-recommends] PACKAGE...
set -euo pipefail

options=()
if [[ ${1:-} == --no-recommends ]]; then
  options=(--no-install-recommends)
  shift
fi

missing=()
for package in "$@"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
((${#missing[@]} == 0)) && exit 0

echo "Installing: ${missing[*]}"
sudo=()
if [[ $(id -u) -ne 0 ]]; then
  sudo=(sudo)
fi
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${options[@]}" "${missing[@]}" >/dev/null
