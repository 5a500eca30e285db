#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 The Tessarin developers
#
# SPDX-License-Identifier: MIT

"""Times the game's first paint against a bare Qt window's on the same virtual X server.

Starts one Xvfb of the given size, then the two programs in turn, RUNS times each: the game
(with TESSARIN_REPORT_CANVAS=1 it prints "canvas ..." once its first paint is done) and
bare_window (a QWidget of the screen's size that prints "painted" after its first paint
event). Each time is from the process's start to that line; the program is then ended. Prints
both medians, their ratio, and the median of the ratios of the pairs (the pairs keep the ratio
fair when the machine's speed drifts).

    bench/first_paint.py build/tessarin build/bare_window [--runs 21] [--size 1920x1080]
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time


def start_xvfb(size):
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-noreset", "-screen", "0",
                             size + "x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                            pass_fds=(write_end,))
    os.close(write_end)
    with os.fdopen(read_end) as pipe:
        display = ":" + pipe.readline().strip()
    if display == ":":
        sys.exit("Xvfb did not start")
    return xvfb, display


def time_to_line(command, env, prefix):
    """Seconds from the start of command to its first line starting with prefix."""
    start = time.perf_counter()
    proc = subprocess.Popen(command, env=env, stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL, text=True)
    try:
        for line in proc.stdout:
            if line.startswith(prefix):
                return time.perf_counter() - start
        sys.exit("%s ended without printing %r" % (command[0], prefix))
    finally:
        proc.kill()
        proc.wait()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("game")
    parser.add_argument("bare")
    parser.add_argument("--runs", type=int, default=21)
    parser.add_argument("--size", default="1920x1080")
    args = parser.parse_args()

    xvfb, display = start_xvfb(args.size)
    runtime = tempfile.mkdtemp(prefix="first-paint-")
    os.chmod(runtime, 0o700)
    env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", XDG_RUNTIME_DIR=runtime,
               TESSARIN_REPORT_CANVAS="1")
    env.pop("WAYLAND_DISPLAY", None)
    try:
        # One run of each first, not counted: the files they read come into the page cache.
        time_to_line([args.game], env, "canvas ")
        time_to_line([args.bare], env, "painted")
        game, bare = [], []
        for _ in range(args.runs):
            game.append(time_to_line([args.game], env, "canvas "))
            bare.append(time_to_line([args.bare], env, "painted"))
    finally:
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(runtime, ignore_errors=True)
    g, b = statistics.median(game), statistics.median(bare)
    pairs = statistics.median(x / y for x, y in zip(game, bare))
    print("screen %s, %d runs each" % (args.size, args.runs))
    print("game first paint   median %7.1f ms  (min %.1f, max %.1f)"
          % (g * 1e3, min(game) * 1e3, max(game) * 1e3))
    print("bare Qt window     median %7.1f ms  (min %.1f, max %.1f)"
          % (b * 1e3, min(bare) * 1e3, max(bare) * 1e3))
    print("ratio of medians %.2f, median ratio of pairs %.2f" % (g / b, pairs))


if __name__ == "__main__":
    main()
