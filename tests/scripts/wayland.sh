#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Tessarin developers
#
# SPDX-License-Identifier: MIT

# The game natively on Wayland desktops: mutter (GNOME), KWin (KDE Plasma), sway and weston, each
# headless, with their own input and screenshots: see tests/e2e/wayland.py. Arguments: the
# game binary and layout_probe.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# Debian's own Python, which has python3-dbus and python3-gi for mutter's and KWin's buses.
python=/usr/bin/python3
[ -x "$python" ] || { echo "no /usr/bin/python3: skipped"; exit 77; }
exec "$python" "$here/../e2e/wayland.py" "$1" "$2"
