#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Tessarin developers
#
# SPDX-License-Identifier: MIT

# The speed figures, measured side by side: the fill against the memory floor and OpenCV's
# flood fill, the repaint against a clear, the colouring click, the first paint against a bare
# Qt window, the resident size of a running game, the delay from a key or click to its note
# through real sound servers against a bare SDL program, and what a game sitting idle costs
# the machine. Installs OpenCV's development package
# (not one the game or its tests need) so that the OpenCV row is always built, builds the
# default preset, and runs every benchmark with repetitions (medians are the figures to quote).
# Usage: scripts/bench.sh [repetitions, default 10]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(dirname "$here")"
reps="${1:-10}"
cd "$root"

if ! dpkg-query -W -f='${Status}' libopencv-dev 2>/dev/null | grep -q 'install ok installed'; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get -o DPkg::Lock::Timeout=900 update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=900 install -y -qq \
        --no-install-recommends libopencv-dev
fi
"$here/deps.sh" --tests

# A configure that ran before OpenCV was there has cached its absence: look again.
cmake --preset default -DTESSARIN_BENCH=ON -U 'OpenCV*' >/dev/null
cmake --build --preset default -j2 --target tessarin tessarin_bench bare_window reference_note \
    layout_probe
# The sound benchmarks read their recordings with numpy and press keys through python3-xlib:
# Debian's packages are for the system's Python, which may not be the first python3 found.
python=""
for candidate in python3 /usr/bin/python3; do
    if "$candidate" -c 'import numpy, Xlib' 2>/dev/null; then python="$candidate"; break; fi
done

echo "== The fill and the repaint (medians of $reps)"
build/tessarin_bench --benchmark_filter='BM_MemoryFloor|BM_FloodFill|BM_OpenCvFloodFill|BM_Clear|BM_RepaintFinishedDecagon|BM_RepaintBesideClear' \
    --benchmark_repetitions="$reps" --benchmark_report_aggregates_only=true 2>/dev/null |
    grep -E '_median|^Run on'
# Each timed click is followed by an untimed repaint that takes the piece's colour off again:
# a short minimum time keeps the run to seconds.
echo "== The colouring click on the largest piece (medians of $reps)"
build/tessarin_bench --benchmark_filter='BM_ColourLargestPiece' --benchmark_min_time=0.02 \
    --benchmark_repetitions="$reps" --benchmark_report_aggregates_only=true 2>/dev/null |
    grep -E '_median'
echo "== The first paint against a bare Qt window"
python3 bench/first_paint.py build/tessarin build/bare_window --runs $((2 * reps + 1))
echo "== The resident size of a running game"
python3 bench/resident.py build/tessarin
if [ -z "$python" ]; then
    echo "== No Python with numpy and Xlib: the sound benchmarks are left out"
    exit 0
fi
# Each program has a sound server of its own (two PulseAudio, then two PipeWire), the game and
# the reference pressed in turn; at least 30 presses of each kind.
"$python" bench/sound_delay.py build/tessarin build/reference_note build/layout_probe \
    --presses $((3 * reps > 30 ? 3 * reps : 30))
"$python" bench/idle.py build/tessarin build/layout_probe
