#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Tessarin developers
#
# SPDX-License-Identifier: MIT

# The real window under real window managers (openbox, xfwm4, mutter) on a virtual X server:
# see tests/e2e/window_managers.py. Arguments: the game binary and layout_probe.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || { echo "no Xvfb/xdotool"; exit 77; }
# Debian's own Python, which has python3-xlib.
python=/usr/bin/python3
[ -x "$python" ] && "$python" -c 'import Xlib' 2>/dev/null ||
    { echo "python3-xlib is not installed: skipped"; exit 77; }
exec "$python" "$here/../e2e/window_managers.py" "$1" "$2"
