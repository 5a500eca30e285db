#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Tessarin developers
#
# SPDX-License-Identifier: MIT

# The real-window games of play_real_window.sh once more on a high-density screen (Qt scale
# factor 2), where the canvas has the window's size in device pixels and clicks are mapped back
# to it. Arguments: the game binary and layout_probe.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || { echo "no Xvfb/xdotool"; exit 77; }
QT_SCALE_FACTOR=2 exec python3 "$here/../e2e/play.py" "$1" "$2"
