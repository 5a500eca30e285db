#!/usr/bin/env bash
# Draws the README's pictures with the game itself, off screen: docs/home.png, the home page,
# and docs/finished.png, a finished Hexagon game; and the same two on a screen scaled to 200 %
# in docs/hidpi/.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$top/scripts/deps.sh"
cmake -S "$top" -B "$top/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$top/build" --target tessarin
"$top/build/tessarin" --pictures "$top/docs" 2> >(grep -v 'propagateSizeHints\|raise()' >&2)
QT_SCALE_FACTOR=2 "$top/build/tessarin" --pictures "$top/docs/hidpi" \
    2> >(grep -v 'propagateSizeHints\|raise()' >&2)
