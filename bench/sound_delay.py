#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 The Tessarin developers
#
# SPDX-License-Identifier: MIT

"""Times the delay from a key or a click to the first sample of its note, through real sound
servers, for the game and for a reference program side by side.

For each server (PulseAudio; PipeWire with its PulseAudio server and WirePlumber) two private
instances are started, each with a null sink whose monitor is recorded: one for the game, one
for the reference (bench/sound/ReferenceNote.cpp, a bare X window that plays the same note
through SDL on a device it keeps running). Each program has its own virtual X server. Keys
(and, for the game, colouring clicks) are sent through XTEST at known times, the two programs
in turn. The recorder's chunks are stamped as they arrive, by a process that does nothing
else; a note's first sample is placed in time by the chunk of the quarter second after it
that came soonest after its last sample, and where the note began by where the whole note
fits the recording best (the sink may have played a first few milliseconds its monitor did
not record). The recorder's own delay is in both programs' figures alike: the reference
measures it. PipeWire's recorder is passive: its graph stops while the program under measure
is silent, as a desktop's does where nothing else plays (--busy-graph keeps it running, as
another program playing would; a stream that starts then waits for the graph's period to
change).

A key "after activity" comes 0.4 s after the program's last note; one "after idle" comes
after 2.5 s of silence, long enough for the game's device to have gone to sleep. A colouring
click after idle is the first piece of a Square after its lines were drawn in silence; the
later pieces come 0.4 s apart. A note that breaks off inside (a millisecond of silence before
its end: the server ran dry) counts as broken.

    bench/sound_delay.py GAME REFERENCE LAYOUT_PROBE [--presses 30] [--clicks 10]
        [--servers pulseaudio,pipewire] [--ref-rate 48000] [--ref-frames 128] [--busy-graph]

Prints, for each server, the median and 95th percentile of every kind of press for both
programs, how many notes broke off, and the goals (key within 1.25 times the reference's
median or 3 ms more than it, whichever is larger; 95th percentile within 35 ms through
PulseAudio, 25 ms through PipeWire).
"""
import argparse
import math
import os
import shutil
import signal
import statistics
import subprocess
import sys
import time

# How loud a sample of the note must be: the notes start at full scale at once.
ONSET_LEVEL = 3000
# Below this a note is silent: its level never falls so low before its end.
QUIET_LEVEL = 1000


def stamp(path):
    """Copies standard input to PATH.raw, writing to PATH.stamps when each chunk came and its
    size."""
    with open(path + ".raw", "wb") as raw, open(path + ".stamps", "w") as stamps:
        while True:
            data = os.read(0, 65536)
            arrival = time.monotonic()
            if not data:
                return
            raw.write(data)
            raw.flush()
            stamps.write("%.6f %d\n" % (arrival, len(data)))


if sys.argv[1:2] == ["--stamp"]:
    signal.signal(signal.SIGINT, signal.SIG_IGN)  # ends with the recorder's output
    stamp(sys.argv[2])
    sys.exit(0)


def parse():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("game")
    parser.add_argument("reference")
    parser.add_argument("probe")
    parser.add_argument("--presses", type=int, default=30)
    parser.add_argument("--clicks", type=int, default=10, help="Square games coloured")
    parser.add_argument("--servers", default="pulseaudio,pipewire")
    parser.add_argument("--ref-rate", type=int, default=48000)
    parser.add_argument("--ref-frames", type=int, default=128)
    parser.add_argument("--keep", action="store_true", help="keep the recordings")
    parser.add_argument("--verbose", action="store_true", help="print every press's delay")
    parser.add_argument("--recorder-msec", type=int, default=0,
                        help="the latency the recorder asks of the server (by default 2 ms of "
                        "PulseAudio, which keeps its sink's time steady, and 30 ms of PipeWire, "
                        "so that the programs' own requests set the period of its graph)")
    parser.add_argument("--busy-graph", action="store_true",
                        help="record PipeWire's sink with a stream that keeps its graph running "
                        "at the recorder's period, as another program playing would; by default "
                        "the recorder is passive, and the graph stops whenever the program under "
                        "measure is silent, as a desktop's does where nothing else plays")
    return parser.parse_args()


ARGS = parse()
# The players of the sound-server test start the servers and the game.
from players import load  # noqa: E402
play, sound_servers = load(ARGS.game, ARGS.probe)
from Xlib import X, XK, display as xdisplay  # noqa: E402
from Xlib.ext import xtest  # noqa: E402
import numpy as np  # noqa: E402

PROCS = sound_servers.PROCS
RATE = sound_servers.RATE  # the sinks' own, at which they are recorded
# The notes the presses play: the reference's and the letter Q's, then the first notes of
# tune 1 for the pieces coloured. Filled from the game's own sounds at the start.
NOTES = {102: None, 112: None, 142: None}


class TimedRecording:
    """What a server's null sink plays, each chunk stamped with the moment it arrived. The
    stamps are taken by a process of their own (this script with --stamp), which nothing else
    keeps busy."""

    def __init__(self, server, name):
        self.path = os.path.join(server.root, name)
        pipewire = isinstance(server, sound_servers.PipeWire)
        latency = ARGS.recorder_msec or (30 if pipewire else 2)
        # A passive recorder records while something plays, and nothing while all is silent.
        self.passive = pipewire and not ARGS.busy_graph
        self.parec = subprocess.Popen(
            ["parec", "-d", sound_servers.SINK + ".monitor", "--rate=%d" % RATE, "--channels=1",
             "--format=s16le", "--raw", "--latency-msec=%d" % latency]
            + (["--property=node.passive=true"] if self.passive else []),
            env=server.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        PROCS.procs.append(self.parec)
        PROCS.write()
        self.stamper = subprocess.Popen([sys.executable, __file__, "--stamp", self.path],
                                        stdin=self.parec.stdout)
        self.parec.stdout.close()
        deadline = time.monotonic() + 10
        while not os.path.exists(self.path + ".raw") or \
                os.path.getsize(self.path + ".raw") < (0 if self.passive else RATE // 5):
            if time.monotonic() > deadline:
                raise play.Failure("parec records")
            time.sleep(0.05)

    def stop(self):
        """Ends the recording; returns its samples, and for each chunk when it came and the
        number of samples recorded by its end."""
        PROCS.stop(self.parec, signal.SIGINT)
        self.stamper.wait(timeout=10)
        samples = np.fromfile(self.path + ".raw", dtype="<i2").astype(np.int32)
        with open(self.path + ".stamps") as f:
            rows = [line.split() for line in f]
        arrivals = np.array([float(a) for a, _ in rows])
        ends = np.cumsum([int(n) // 2 for _, n in rows])
        return samples, arrivals, ends


class Keyboard:
    """Keys and clicks sent to an X server through XTEST, each stamped when sent."""

    def __init__(self, name):
        self.display = xdisplay.Display(name)
        self.q = self.display.keysym_to_keycode(XK.string_to_keysym("q"))

    def key(self):
        sent = time.monotonic()
        xtest.fake_input(self.display, X.KeyPress, self.q)
        xtest.fake_input(self.display, X.KeyRelease, self.q)
        self.display.sync()
        return sent

    def move(self, x, y):
        xtest.fake_input(self.display, X.MotionNotify, x=x, y=y)
        self.display.sync()

    def click(self):
        sent = time.monotonic()
        xtest.fake_input(self.display, X.ButtonPress, 1)
        xtest.fake_input(self.display, X.ButtonRelease, 1)
        self.display.sync()
        return sent


class Program:
    """One program under measure: its server, recorder, keyboard and the presses sent."""

    def __init__(self, name, server):
        self.name = name
        self.server = server
        self.presses = []  # (kind, sent)
        self.last = 0.0

    def record(self, kind, sent):
        self.presses.append((kind, sent))
        self.last = sent

    def notes(self, samples, arrivals, ends):
        """For each press: its kind, its delay to its note's first sample (None where no note
        sounded alone after it), and whether the note broke off inside (a millisecond of
        silence before its end: the server ran dry).

        A chunk arrives no sooner than its last sample was made: among the chunks of the
        quarter second from a note's start, the one that came soonest after its last sample
        places the note's first sample in time. (Over longer spans the server's sink keeps
        its own time, which moves from the machine's by up to a millisecond a second, and
        steps whenever a stream starts or ends and the sink's latency changes.)"""
        loud = np.abs(samples) > ONSET_LEVEL
        quiet = np.abs(samples) < QUIET_LEVEL
        lead = arrivals - ends / RATE
        out = []
        for kind, sent in self.presses:
            # Roughly where the recording was when the press was sent, from the chunk that
            # came then, and no sooner than the chunk before: a passive recorder records
            # nothing while all is silent.
            k = min(int(np.searchsorted(arrivals, sent)), len(ends) - 1)
            before = ends[k - 1] if k > 0 else 0
            start = max(int(max(ends[k] - (arrivals[k] - sent) * RATE, before) - 0.05 * RATE), 0)
            hits = np.nonzero(loud[start:start + int(0.35 * RATE)])[0]
            delay, broken = None, False
            if len(hits):
                first = start + int(hits[0])
                onset = aligned(samples, first)
                near = (ends > onset) & (arrivals <= arrivals[np.searchsorted(ends, onset)] + 0.25)
                made = onset / RATE + float(np.min(lead[near]))
                # The sound before it has ended: the note found is this press's.
                if not loud[max(first - RATE // 50, 0):first].any() and made > sent - 0.002:
                    delay = made - sent
                # The note ends where 20 ms of silence begin.
                runs = run_lengths(quiet[first:first + int(0.4 * RATE)])
                end = next((at for at, length in runs if length >= RATE // 50), None)
                broken = any(length >= RATE // 1000 for at, length in runs
                             if end is None or at < end)
            out.append((kind, delay, broken))
        return out


class Reference(Program):
    def __init__(self, server):
        super().__init__("reference", server)
        self.xvfb = None
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-noreset", "-screen",
                                      "0", "640x480x24", "-nolisten", "tcp"],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                     pass_fds=(write_end,))
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            self.display = ":" + pipe.readline().strip()
        env = dict(server.env, DISPLAY=self.display)
        env.pop("SDL_AUDIODRIVER", None)
        if isinstance(server, sound_servers.PipeWire):
            env["SDL_AUDIODRIVER"] = "pipewire"
        self.proc = subprocess.Popen(
            [ARGS.reference, "--rate", str(ARGS.ref_rate), "--frames", str(ARGS.ref_frames)],
            env=env, stdout=subprocess.PIPE, text=True)
        line = self.proc.stdout.readline().split()
        if not line or line[0] != "ready":
            raise play.Failure("the reference did not start")
        self.device = "%s, %s Hz, %s frames" % tuple(line[1:4])
        self.keyboard = Keyboard(self.display)

    def close(self):
        self.proc.kill()
        self.proc.wait()
        self.xvfb.terminate()
        self.xvfb.wait()


class TheGame(Program):
    def __init__(self, server):
        super().__init__("game", server)
        self.game = sound_servers.new_game(server)
        self.keyboard = Keyboard(self.game.display)

    def close(self):
        self.game.close()

    def square_ready_to_colour(self):
        """A Square with both diagonals and three sides drawn, End pressed: the points inside
        its three closed pieces."""
        game = self.game
        game.click(*play.centre(game.layout["shapeButtons"][0]))
        reds = play.red_vertices(game, 4)
        play.check(len(reds) == 1, "one red start vertex")
        path = play.trail(4, reds[0], 5, must=[(1, 4), (2, 3)])
        for v in path[1:]:
            play.click_vertex(game, 4, v)
        game.key("End")
        return play.closed_square_pieces(game, path)


def aligned(samples, first):
    """Where the note whose first loud sample is `first` began: where the whole note fits the
    recording best. PulseAudio's null sink rewinds what it has played ahead when a stream
    starts, as a sound card's sink does, and its monitor then misses the stream's first
    milliseconds, which the sink did play."""
    margin = RATE // 100
    window = samples[max(first - margin, 0):first + margin + max(len(n) for n in NOTES.values())]
    best, at = 0.8, first
    for note in NOTES.values():
        scores = sound_servers.matches(window.astype(np.float64), note)
        if len(scores) and scores.max() > best:
            best, at = scores.max(), max(first - margin, 0) + int(np.argmax(scores))
    return min(at, first)


def run_lengths(flags):
    """The runs of true values: (start, length) each."""
    edges = np.diff(np.concatenate(([0], flags.astype(np.int8), [0])))
    starts = np.nonzero(edges == 1)[0]
    return list(zip(starts, np.nonzero(edges == -1)[0] - starts))


def wait_until(moment):
    delay = moment - time.monotonic()
    if delay > 0:
        time.sleep(delay)


def press_keys(game, reference):
    """The keys of both programs, in turn: for each, one after idle and one after activity."""
    gap, idle = 0.4, 2.5
    for _ in range(ARGS.presses):
        # The game's last note is far enough behind for its device to sleep.
        wait_until(game.last + idle)
        game.record("key after idle", game.keyboard.key())
        wait_until(game.last + gap)
        game.record("key after activity", game.keyboard.key())
        wait_until(max(reference.last + idle, game.last + gap))
        reference.record("key after idle", reference.keyboard.key())
        wait_until(reference.last + gap)
        reference.record("key after activity", reference.keyboard.key())
        wait_until(reference.last + gap)


def colour_squares(game):
    g = game.game
    for _ in range(ARGS.clicks):
        pieces = game.square_ready_to_colour()
        time.sleep(2.0)
        for n, (x, y) in enumerate(pieces):
            game.keyboard.move(g.x0 + x, g.y0 + y)
            time.sleep(0.1)
            wait_until(game.last + 0.4)
            game.record("click after idle" if n == 0 else "click after activity",
                        game.keyboard.click())
        wait_until(game.last + 0.4)
        g.key("End")  # the score
        g.key("Home")


def percentile(values, p):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(math.ceil(p / 100 * len(ordered))) - 1)]


def summary(delays):
    heard = [d for d in delays if d is not None]
    if not heard:
        return None
    return statistics.median(heard) * 1e3, percentile(heard, 95) * 1e3, len(heard), len(delays)


def measure(kind):
    def server(name):
        # PulseAudio's null sink, which starts a new stream at once, as a sound card's does.
        if kind == "pulseaudio":
            return sound_servers.PulseAudio(name, sink="null").start()
        return sound_servers.PipeWire(name).start()

    servers = [server(kind + "-game"), server(kind + "-reference")]
    game = reference = None
    recordings = []
    try:
        recordings = [TimedRecording(s, "recording") for s in servers]
        game = TheGame(servers[0])
        reference = Reference(servers[1])
        time.sleep(1.0)
        press_keys(game, reference)
        if ARGS.clicks:
            colour_squares(game)
        time.sleep(0.5)
        results = {}
        for program, recording in ((game, recordings[0]), (reference, recordings[1])):
            results[program.name] = program.notes(*recording.stop())
            if ARGS.keep:
                with open(recording.path + ".presses", "w") as f:
                    f.writelines("%s %.6f\n" % (k.replace(" ", "_"), t)
                                 for k, t in program.presses)
        return results, reference.device
    finally:
        for p in (game, reference):
            if p:
                p.close()
        if ARGS.keep and os.path.exists(os.path.join(play.WORK, "game.err")):
            shutil.copy(os.path.join(play.WORK, "game.err"), servers[0].root)
        for r in recordings:
            PROCS.stop(r.parec)
            r.stamper.wait()
        for s in servers:
            s.stop()


def report(kind, results, device):
    names = {"pulseaudio": "PulseAudio", "pipewire": "PipeWire"}

    def delays(program, press):
        return [delay for k, delay, _ in results[program] if k == press]

    print("== Key or click to note through %s (null sink, its monitor recorded)" % names[kind])
    print("   %-28s %9s %9s %8s %8s" % ("", "median", "95th", "heard", "broken"))
    for program in ("reference", "game"):
        print("   %s" % ("reference (%s)" % device if program == "reference" else "game"))
        notes = results[program]
        for press in sorted(set(k for k, _, _ in notes)):
            if ARGS.verbose:
                print("       " + " ".join("-" if d is None else "%.1f" % (d * 1e3)
                                           for d in delays(program, press)))
            s = summary(delays(program, press))
            broken = sum(b for k, _, b in notes if k == press)
            if s is None:
                print("     %-26s   no note heard" % press)
            else:
                print("     %-26s %6.1f ms %6.1f ms %4d/%d %6d" % ((press,) + s + (broken,)))
    ceiling95 = 35.0 if kind == "pulseaudio" else 25.0
    for press in ("key after activity", "key after idle"):
        ref, game = summary(delays("reference", press)), summary(delays("game", press))
        if ref and game:
            bound = max(1.25 * ref[0], ref[0] + 3.0)
            met = game[0] <= bound and game[1] <= ceiling95 and game[2] == game[3]
            print("   goal, %s: median %.1f <= %.1f ms, 95th %.1f <= %.0f ms, every note heard: "
                  "%s" % (press, game[0], bound, game[1], ceiling95, "met" if met else "NOT met"))


def main():
    for tool in ("Xvfb", "xdotool", "pulseaudio", "parec", "pactl"):
        if not shutil.which(tool):
            sys.exit("missing %s" % tool)
    sounds = os.path.join(play.WORK, "sounds")
    os.makedirs(sounds)
    play.run(play.PROBE, "--sounds", sounds)
    for resource in NOTES:
        NOTES[resource] = sound_servers.at_recording_rate(
            play.wave_samples(os.path.join(sounds, "%d.wav" % resource)))
    try:
        for kind in ARGS.servers.split(","):
            results, device = measure(kind)
            report(kind, results, device)
            sys.stdout.flush()
    finally:
        PROCS.stop_all()
        if ARGS.keep:
            print("recordings in %s" % play.WORK)
        else:
            shutil.rmtree(play.WORK, ignore_errors=True)


if __name__ == "__main__":
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    main()
