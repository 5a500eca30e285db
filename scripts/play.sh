#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Tessarin developers
#
# SPDX-License-Identifier: MIT

# Builds Tessarin and starts it. Installs the Debian packages that building and running the game
# need (debian/control's Build-Depends and Depends), and nothing that only the tests use.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$top"
"$top/scripts/deps.sh"
cmake --preset default >/dev/null
cmake --build --preset default --target tessarin
exec "$top/build/tessarin" "$@"
