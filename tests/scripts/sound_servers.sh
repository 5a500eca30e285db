#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Tessarin developers
#
# SPDX-License-Identifier: MIT

# Plays whole games through real sound servers, PulseAudio and PipeWire, each private to this
# test, records what their null sink played and checks it (see tests/e2e/sound_servers.py);
# then kills each server in the middle of a game and starts it again. PulseAudio and PipeWire
# are played side by side; the test runs about half a minute.
# Arguments: the game binary and layout_probe.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
for tool in Xvfb xdotool pulseaudio parec pactl; do
    command -v "$tool" >/dev/null || { echo "no $tool"; exit 77; }
done
# The pitch analysis needs numpy: Debian's python3-numpy is for the system's Python, which
# may not be the first python3 on the path.
python=""
for candidate in python3 /usr/bin/python3; do
    if "$candidate" -c 'import numpy' 2>/dev/null; then python="$candidate"; break; fi
done
[ -n "$python" ] || { echo "no Python with numpy"; exit 77; }

# Every server and recorder the test starts is listed here by process id; whatever becomes of
# the test, each one still running is stopped by its id.
export TESSARIN_SOUND_PIDS="$(mktemp /tmp/tessarin-sound-pids.XXXXXX)"
test_pid=""
cleanup() {
    if [ -n "$test_pid" ]; then
        kill "$test_pid" 2>/dev/null || true
        wait "$test_pid" 2>/dev/null || true
    fi
    # The test lists only what still runs; anything left after it ended goes now.
    cat "$TESSARIN_SOUND_PIDS".* 2>/dev/null | while read -r pid; do
        kill -9 "$pid" 2>/dev/null || true
    done
    rm -f "$TESSARIN_SOUND_PIDS" "$TESSARIN_SOUND_PIDS".*
}
trap cleanup EXIT
trap 'exit 1' INT TERM

"$python" "$here/../e2e/sound_servers.py" "$1" "$2" &
test_pid=$!
status=0
wait "$test_pid" || status=$?
test_pid=""
exit "$status"
