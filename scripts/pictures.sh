#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Tessarin developers
#
# SPDX-License-Identifier: MIT

# Draws the README's pictures with the game itself, off screen: docs/home.png, the home page,
# docs/finished.png, a finished Hexagon game, and docs/perfect-decagon.png, a perfect Decagon as
# Help > Watch a Perfect Game plays it; and the same three on a screen scaled to 200 % in
# docs/hidpi/.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$top/scripts/deps.sh"
cd "$top"
cmake --preset default >/dev/null
cmake --build --preset default --target tessarin
"$top/build/tessarin" --pictures "$top/docs" 2> >(grep -v 'propagateSizeHints\|raise()' >&2)
QT_SCALE_FACTOR=2 "$top/build/tessarin" --pictures "$top/docs/hidpi" \
    2> >(grep -v 'propagateSizeHints\|raise()' >&2)
