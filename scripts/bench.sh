#!/usr/bin/env bash
# The speed figures, measured side by side: the fill against the memory floor and OpenCV's
# flood fill, the repaint against a clear, the colouring click, the first paint against a bare
# Qt window, and the resident size of a running game. Installs OpenCV's development package
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
cmake --build --preset default -j2 --target tessarin tessarin_bench bare_window

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
