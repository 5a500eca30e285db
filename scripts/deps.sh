#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Tessarin developers
#
# SPDX-License-Identifier: MIT

# Installs the Debian packages that are missing (with sudo when not run as root).
#   scripts/deps.sh           what building and running the game needs, read from the package's
#                             debian/control: build-essential, the Build-Depends (debhelper
#                             aside, which only the package's build uses) and the Depends
#   scripts/deps.sh --tests   that, and the test tools listed in scripts/packages.txt
#   scripts/deps.sh --list [--tests]   prints those packages, one a line, and installs nothing
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
tests=0 list=0
for arg in "$@"; do
    case "$arg" in
    --tests) tests=1 ;;
    --list) list=1 ;;
    *) echo "usage: $0 [--list] [--tests]" >&2 && exit 2 ;;
    esac
done

# The packages named in the given fields of debian/control: versions, architectures and build
# profiles left out, the first of alternatives taken, substitution variables (${shlibs:Depends},
# filled in by the package's build) skipped.
control_packages() {
    awk -v want=" $* " '
        /^#/ { next }
        /^[^ \t]/ {
            field = $0; sub(/:.*/, "", field)
            value = $0; sub(/^[^:]*:/, "", value)
            if (index(want, " " field " ")) print value
            next
        }
        /^[ \t]/ { if (index(want, " " field " ")) print }
    ' "$top/debian/control" | tr ',' '\n' |
        sed -E 's/\([^)]*\)|\[[^]]*\]|<[^>]*>//g; s/\|.*//; s/:[a-z]+//; s/[[:space:]]//g' |
        grep -vE '^$|^\$\{|^debhelper'
}

mapfile -t game < <(control_packages Build-Depends Build-Depends-Arch Depends)
mapfile -t tools < <(grep -vE '^\s*(#|$)' "$top/scripts/packages.txt")
wanted=(build-essential "${game[@]}")
[ "$tests" -eq 1 ] && wanted+=("${tools[@]}")
if [ "$list" -eq 1 ]; then
    printf '%s\n' "${wanted[@]}" | awk '!seen[$0]++'
    exit 0
fi

missing=()
for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
# Another install may hold the package lock: wait for it rather than fail.
$sudo apt-get -o DPkg::Lock::Timeout=900 update -qq
# The game's own packages without the ones Debian merely recommends beside them; the test
# tools as they come.
recommends=--no-install-recommends
[ "$tests" -eq 1 ] && recommends=""
DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=900 install -y -qq \
    $recommends "${missing[@]}"
