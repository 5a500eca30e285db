#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 The Tessarin developers
#
# SPDX-License-Identifier: MIT

"""Counts what a game sitting idle costs the machine: the context switches and processor time
of all its threads, read from /proc, after its last sound.

The game runs on a virtual X server beside a private PulseAudio server, a private PipeWire
server (with its PulseAudio server and WirePlumber), and with no sound device at all (no
server, no sound card). In each, a letter key plays a note; then the game is left alone.
Printed for each: the two seconds from the key (the note, the device resting, then closing;
read every 20 ms, so that a thread that ends is still counted), and the 30 seconds after those (the goal: at most 5 context switches and 10 ms of processor time), with
the threads that woke in them.

    bench/idle.py GAME LAYOUT_PROBE [--seconds 30] [--setups pulseaudio,pipewire,none]

Processor time is read twice: from stat (utime and stime, in the kernel's clock ticks of
10 ms) and from schedstat (nanoseconds).
"""
import argparse
import os
import shutil
import signal
import sys
import tempfile
import time


def parse():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("game")
    parser.add_argument("probe")
    parser.add_argument("--seconds", type=float, default=30.0)
    parser.add_argument("--setups", default="pulseaudio,pipewire,none")
    return parser.parse_args()


ARGS = parse()
# The players of the sound-server test start the servers and the game.
from players import load  # noqa: E402
play, sound_servers = load(ARGS.game, ARGS.probe)

TICK = os.sysconf("SC_CLK_TCK")


def threads(pid):
    """Every live thread of the process: name, context switches, processor time in ticks and
    in nanoseconds."""
    out = {}
    base = "/proc/%d/task" % pid
    for tid in os.listdir(base):
        try:
            with open("%s/%s/status" % (base, tid)) as f:
                status = dict(line.split(":", 1) for line in f if ":" in line)
            with open("%s/%s/stat" % (base, tid)) as f:
                fields = f.read().rsplit(")", 1)[1].split()
            with open("%s/%s/schedstat" % (base, tid)) as f:
                nanoseconds = int(f.read().split()[0])
        except FileNotFoundError:  # ended meanwhile
            continue
        switches = (int(status["voluntary_ctxt_switches"]) +
                    int(status["nonvoluntary_ctxt_switches"]))
        # utime and stime are the 12th and 13th fields after the name.
        ticks = int(fields[11]) + int(fields[12])
        out[tid] = (status["Name"].strip(), switches, ticks, nanoseconds)
    return out


def difference(before, after):
    """Per thread of the second reading: what it did since the first (all of it for a thread
    that started meanwhile)."""
    rows = []
    for tid, (name, switches, ticks, ns) in after.items():
        b = before.get(tid, (name, 0, 0, 0))
        rows.append((name, switches - b[1], ticks - b[2], ns - b[3]))
    return rows


def summary(rows):
    switches = sum(r[1] for r in rows)
    ticks_ms = sum(r[2] for r in rows) * 1000.0 / TICK
    ns_ms = sum(r[3] for r in rows) / 1e6
    woke = ", ".join("%s %d" % (r[0], r[1]) for r in sorted(rows, key=lambda r: -r[1]) if r[1])
    return switches, ticks_ms, ns_ms, woke or "none"


class NoDevice:
    """No sound server and no sound card: a runtime folder with nothing in it."""

    def __init__(self):
        self.root = tempfile.mkdtemp(prefix="idle-none-", dir=play.WORK)
        self.runtime = os.path.join(self.root, "runtime")
        os.makedirs(self.runtime, mode=0o700)
        self.env = {"PULSE_SERVER": "unix:" + os.path.join(self.runtime, "none")}

    def stop(self):
        pass


def measure(setup):
    if setup == "pulseaudio":
        server = sound_servers.PulseAudio("idle-pulseaudio").start()
    elif setup == "pipewire":
        server = sound_servers.PipeWire("idle-pipewire").start()
    else:
        server = NoDevice()
    recording = None
    game = None
    try:
        if setup != "none":
            # A real sink plays all the time; the null sink does only while it is listened to.
            recording = sound_servers.Recording(server, "idle")
        game = sound_servers.new_game(server)
        # The window shows; the game loads its sound and rests.
        time.sleep(3.0)
        pid = game.proc.pid
        start = threads(pid)
        game.key("q")
        # Read often while the device rests and closes: its thread ends with it, and takes
        # its counts along.
        seen = dict(start)
        until = time.monotonic() + 2.0
        while time.monotonic() < until:
            seen.update(threads(pid))
            time.sleep(0.02)
        rested = threads(pid)
        seen.update(rested)
        time.sleep(ARGS.seconds)
        end = threads(pid)
        return summary(difference(start, seen)), summary(difference(rested, end)), len(end)
    finally:
        if game:
            game.close()
        if recording:
            recording.samples()
        server.stop()


def main():
    names = {"pulseaudio": "PulseAudio", "pipewire": "PipeWire", "none": "no sound device"}
    try:
        print("== The game idle after its last note: %s" % ARGS.game)
        print("   %-16s %-26s %9s %9s %10s   %s" % ("", "", "switches", "cpu stat", "cpu exact",
                                                     "threads that woke"))
        for setup in ARGS.setups.split(","):
            (s1, t1, n1, w1), (s2, t2, n2, w2), count = measure(setup)
            print("   %-16s %-26s %9d %6.0f ms %7.1f ms   %s"
                  % (names[setup], "first 2 s after the key", s1, t1, n1, w1))
            print("   %-16s %-26s %9d %6.0f ms %7.1f ms   %s"
                  % ("", "the %g s after those" % ARGS.seconds, s2, t2, n2, w2))
            print("   %-16s %d threads at the end" % ("", count))
            sys.stdout.flush()
    finally:
        sound_servers.PROCS.stop_all()
        shutil.rmtree(play.WORK, ignore_errors=True)


if __name__ == "__main__":
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    main()
