#!/usr/bin/env bash
# Plays whole games in the real program on a virtual X server (see tests/e2e/play.py): once at
# one device pixel per screen pixel, once more on a high-density screen (Qt scale factor 2),
# where the canvas has the window's size in device pixels and clicks are mapped back to it.
# Arguments: the game binary and layout_probe.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || { echo "no Xvfb/xdotool"; exit 77; }
python3 "$here/../e2e/play.py" "$1" "$2"
echo "== on a high-density screen"
QT_SCALE_FACTOR=2 python3 "$here/../e2e/play.py" "$1" "$2"
