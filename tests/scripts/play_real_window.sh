#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Tessarin developers
#
# SPDX-License-Identifier: MIT

# Plays whole games in the real program on a virtual X server (see tests/e2e/play.py), at one
# device pixel per screen pixel. Arguments: the game binary and layout_probe.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || { echo "no Xvfb/xdotool"; exit 77; }
exec python3 "$here/../e2e/play.py" "$1" "$2"
