#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 The Tessarin developers
#
# SPDX-License-Identifier: MIT

"""Prints the resident size of the running game on a virtual X server of each given size.

Starts Xvfb, the game (with TESSARIN_REPORT_CANVAS=1), waits for its first paint and a moment
more, then reads VmRSS and VmHWM from /proc. The canvas alone is width x height x 4 bytes.

    bench/resident.py build/tessarin [--sizes 1920x1080 3840x2160]
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from first_paint import start_xvfb  # noqa: E402


def status(pid):
    fields = {}
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            key, _, value = line.partition(":")
            fields[key] = value.strip()
    return fields


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("game")
    parser.add_argument("--sizes", nargs="+", default=["1920x1080", "3840x2160"])
    args = parser.parse_args()
    for size in args.sizes:
        xvfb, display = start_xvfb(size)
        runtime = tempfile.mkdtemp(prefix="resident-")
        env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", XDG_RUNTIME_DIR=runtime,
                   TESSARIN_REPORT_CANVAS="1")
        env.pop("WAYLAND_DISPLAY", None)
        game = subprocess.Popen([args.game], env=env, stdout=subprocess.PIPE,
                                stderr=subprocess.DEVNULL, text=True)
        try:
            fields = game.stdout.readline().split()
            time.sleep(1.0)  # the sounds and the sound device come after the first paint
            s = status(game.pid)
            w, h = int(fields[3]), int(fields[4])
            print("screen %s: canvas %dx%d (%.1f MB), VmRSS %s, VmHWM %s"
                  % (size, w, h, w * h * 4 / 1e6, s["VmRSS"], s["VmHWM"]))
        finally:
            game.kill()
            game.wait()
            xvfb.terminate()
            xvfb.wait()
            shutil.rmtree(runtime, ignore_errors=True)


if __name__ == "__main__":
    main()
