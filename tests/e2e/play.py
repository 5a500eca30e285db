#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 The Tessarin developers
#
# SPDX-License-Identifier: MIT

"""Plays whole games of Tessarin in the real program on a virtual X server.

The program is driven only with real mouse clicks and key presses (xdotool) and read only as a
player would: screenshots of the screen, the window title, and the samples that reached the
sound device (SDL's disk audio driver). Click points come from the game's own layout for the
client area the program got (layout_probe), placed where the program says its canvas lies.

Usage: play.py TESSARIN LAYOUT_PROBE
"""

import json
import os
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import wave

GAME, PROBE = sys.argv[1], sys.argv[2]
WORK = tempfile.mkdtemp(prefix="tessarin-e2e-")

# Colours the player sees.
RED_VERTEX = (255, 72, 72)
LAVENDER = (220, 220, 240)
WHITE = (255, 255, 255)
TITLE_GREEN = (32, 200, 120)
SCORE_BLUE = (80, 130, 220)
PALETTE = {0: (240, 240, 100), 1: (240, 160, 100), 2: (240, 80, 100), 3: (240, 0, 100)}
TUNE_ONE_HIGHLIGHT = (125, 225, 182)


# How long a player's action may take to show before it counts as never showing: a limit only
# a hang reaches, however busy the machine. No check asserts how long anything took.
HANG = 120


class Failure(Exception):
    pass


def check(condition, what):
    if not condition:
        raise Failure(what)


def eventually(test, seconds=HANG):
    """Whether test() holds, asked again until it does or the limit passes: for what an action
    shows once the program has handled it."""
    end = time.monotonic() + seconds
    while not test():
        if time.monotonic() > end:
            return False
        time.sleep(0.1)
    return True


def run(*args, **kw):
    return subprocess.run(args, check=True, capture_output=True, text=True, **kw).stdout


class Screen:
    """One screenshot of the whole X screen, read as a PPM image."""

    def __init__(self, env):
        self.read(subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"],
                                 check=True, capture_output=True, env=env).stdout)

    def read(self, data):
        # Header: P6 <w> <h> <max>, separated by white space, then raw RGB bytes.
        fields, pos = [], 0
        while len(fields) < 4:
            while data[pos:pos + 1].isspace():
                pos += 1
            start = pos
            while not data[pos:pos + 1].isspace():
                pos += 1
            fields.append(data[start:pos])
        self.width, self.height = int(fields[1]), int(fields[2])
        self.pixels = data[pos + 1:]

    def at(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.pixels[i:i + 3])

    def region(self, rect):
        left, top, right, bottom = rect
        return [self.at(x, y) for y in range(top, bottom) for x in range(left, right)]


class Game:
    """The program on a fresh X server, its canvas origin and its layout."""

    def __init__(self, width=1280, height=1024, audio_driver="disk"):
        # The X server picks a free display number itself and tells it through a pipe.
        read_end, write_end = os.pipe()
        # -noreset: the server would start over whenever its last client leaves (the check
        # below is one), and a client that connects meanwhile is turned away.
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-noreset",
                                      "-screen", "0", "%dx%dx24" % (width, height),
                                      "-nolisten", "tcp"],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                     pass_fds=(write_end,))
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            self.display = ":" + pipe.readline().strip()
        check(self.display != ":", "Xvfb did not start")
        # Each run of the program has its own sound file. The device closes whenever the game
        # falls silent, and the disk driver starts its file again when it opens: the program
        # writes into a pipe instead (its own end of it, opened again by name each time), and
        # cat copies everything to the file.
        self.audio_path = tempfile.mkstemp(prefix="audio-", suffix=".raw", dir=WORK)[1]
        sound_in, self.sound_out = os.pipe()
        with open(self.audio_path, "wb") as audio:
            self.copier = subprocess.Popen(["cat"], stdin=sound_in, stdout=audio)
        os.close(sound_in)
        self.env = dict(os.environ, DISPLAY=self.display, QT_QPA_PLATFORM="xcb",
                        TESSARIN_REPORT_CANVAS="1", SDL_AUDIODRIVER=audio_driver,
                        SDL_DISKAUDIOFILE="/proc/self/fd/%d" % self.sound_out)
        self.env.pop("WAYLAND_DISPLAY", None)
        eventually(lambda: subprocess.run(["xdotool", "getdisplaygeometry"], env=self.env,
                                          capture_output=True).returncode == 0)
        self.prepare_desktop()
        self.proc = subprocess.Popen([GAME], env=self.env, stdout=subprocess.PIPE,
                                     stderr=open(os.path.join(WORK, "game.err"), "w"), text=True,
                                     pass_fds=(self.sound_out,))
        os.close(self.sound_out)
        # "canvas X Y WIDTH HEIGHT RATIO": where the canvas lies in screen pixels, its size,
        # and the screen's pixel ratio that sized the pictures and pens.
        line = self.proc.stdout.readline()
        fields = line.split()
        check(len(fields) == 6 and fields[0] == "canvas",
              "the program did not say where its canvas lies: %r" % line)
        self.x0, self.y0, self.width, self.height = (int(t) for t in fields[1:5])
        self.ratio = fields[5]
        self.layout = json.loads(run(PROBE, str(self.width), str(self.height), self.ratio))
        self.settle()

    def close(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
        # The pipe ends with the program, and the copy with it.
        try:
            self.copier.wait(timeout=5)
        except subprocess.TimeoutExpired:
            self.copier.kill()
            self.copier.wait()
        self.xvfb.terminate()
        self.xvfb.wait()

    def prepare_desktop(self):
        """Runs on the fresh X server before the program starts: nothing, so no window
        manager runs."""

    def settle(self, seconds=0.25):
        time.sleep(seconds)

    def shape(self, count):
        return self.layout["shapes"][str(count)]

    def click(self, x, y):
        run("xdotool", "mousemove", "--sync", str(self.x0 + x), str(self.y0 + y), "click", "1",
            env=self.env)
        self.settle()

    def key(self, *names):
        run("xdotool", "key", *names, env=self.env)
        self.settle()

    def screen(self):
        return Screen(self.env)

    def pixel(self, x, y, shot=None):
        return (shot or self.screen()).at(self.x0 + x, self.y0 + y)

    def canvas(self, shot=None):
        shot = shot or self.screen()
        return shot.region((self.x0, self.y0, self.x0 + self.width, self.y0 + self.height))

    def has_focus(self, name):
        """Whether the window with the keyboard has a title that the pattern `name` finds."""
        result = subprocess.run(["xdotool", "getwindowfocus", "getwindowname"], env=self.env,
                                capture_output=True, text=True)
        return result.returncode == 0 and re.search(name, result.stdout.strip()) is not None

    def windows(self, name):
        result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name],
                                env=self.env, capture_output=True, text=True)
        return result.stdout.split()

    def title(self):
        ids = self.windows("^Tessarin -- ")
        check(ids, "no main window titled 'Tessarin -- ...'")
        return run("xdotool", "getwindowname", ids[0], env=self.env).strip()


def centre(rect):
    return ((rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2)


def ends_with_status_zero(game, how):
    try:
        status = game.proc.wait(timeout=HANG)
    except subprocess.TimeoutExpired:
        raise Failure("%s did not end the program" % how)
    check(status == 0, "%s ends with status 0, not %s" % (how, status))


def open_menu(game, keys):
    """Opens a menu by its keys, and waits for it: a menu is a window of its own, shown."""
    before = set(game.windows(""))
    game.key(keys)
    check(eventually(lambda: set(game.windows("")) - before), "%s opens its menu" % keys)


def exit_from_file_menu(game):
    open_menu(game, "alt+f")
    game.key("x")
    ends_with_status_zero(game, "File > Exit")


def red_vertices(game, count):
    shot = game.screen()
    return [i + 1 for i, c in enumerate(game.shape(count)["centres"])
            if game.pixel(c[0], c[1], shot) == RED_VERTEX]


def trail(count, start, length, must=()):
    """A walk of `length` lines over the complete graph that repeats no line and uses `must`."""
    def walk(path, used):
        if len(path) - 1 == length:
            return path if all(frozenset(m) in used for m in must) else None
        for v in range(1, count + 1):
            line = frozenset((path[-1], v))
            if v != path[-1] and line not in used:
                found = walk(path + [v], used | {line})
                if found:
                    return found
        return None
    return walk([start], frozenset())


def closed_square_pieces(game, path):
    """A point inside each triangle of the Square that the path closes: the triangles between
    a side and the two diagonals, for each side the path drew."""
    centres = game.shape(4)["centres"]
    middle = inside(*centres)
    sides = {frozenset(p) for p in zip(path, path[1:])}
    return [inside(centres[a - 1], centres[b - 1], middle)
            for a, b in [(1, 2), (2, 4), (4, 3), (3, 1)] if frozenset((a, b)) in sides]


def click_vertex(game, count, v):
    x, y = game.shape(count)["centres"][v - 1]
    game.click(x, y)


def inside(*points):
    return (sum(p[0] for p in points) // len(points), sum(p[1] for p in points) // len(points))


# ---- Sound: what reached the device ----

def wave_samples(path):
    with wave.open(path) as w:
        frames = w.readframes(w.getnframes())
        if w.getsampwidth() == 1:
            return [(b - 128) * 256 for b in frames]
        return list(struct.unpack("<%dh" % (len(frames) // 2), frames))


def device_samples(path):
    """The disk driver's file holds what the device played, in its format: 16-bit signed."""
    with open(path, "rb") as f:
        data = f.read()
    return list(struct.unpack("<%dh" % (len(data) // 2), data[:len(data) // 2 * 2]))


def sounds_heard(samples, library):
    """Names every sound that starts in the device's stream, in order, by its exact samples.

    Returns a list of (resource, start, played) where played is how many of its samples were
    played before silence or the next sound.
    """
    heads = {}
    for resource, s in library.items():
        head = tuple(s[:16])
        if any(head):
            heads.setdefault(head, []).append(resource)
    found, i, n = [], 0, len(samples)
    while i < n - 16:
        candidates = heads.get(tuple(samples[i:i + 16]))
        if not candidates:
            i += 1
            continue
        # Notes an octave apart in the two runs can share their first samples: the sound is
        # the one whose samples go on matching longest, a complete one first.
        def matched(r):
            s, k = library[r], 0
            while k < len(s) and i + k < n and samples[i + k] == s[k]:
                k += 1
            return k
        resource = max(candidates, key=lambda r: (matched(r), matched(r) == len(library[r])))
        played = matched(resource)
        found.append((resource, i, played))
        i += max(played, 1)
    return found


# ---- Scenarios ----

def tune_and_square_game(game, library):
    """Tune 3 chosen on the home page, then a perfect Square game: both diagonals and three
    sides (a single path can hold only five of the square's six lines), every closed piece
    coloured in the cycle's colours, a repeated line refused, and the score shown."""
    shot = game.screen()
    title = game.title()
    check(title.startswith("Tessarin -- ") and title.endswith(" -- Version M610"),
          "window title %r" % title)
    button1 = game.layout["tuneButtons"][0]
    check(game.pixel(button1[0] + 3, (button1[1] + button1[3]) // 2, shot) == TUNE_ONE_HIGHLIGHT,
          "tune 1 is highlighted at start")
    check(TITLE_GREEN in game.canvas(shot), "the title 'Tessarin' in green")

    game.click(*centre(game.layout["tuneButtons"][2]))  # tune 3, played whole
    time.sleep(2.5)
    game.click(*centre(game.layout["shapeButtons"][0]))  # Square
    check(eventually(lambda: len(red_vertices(game, 4)) == 1),
          "one red start vertex, found %s" % red_vertices(game, 4))
    start = red_vertices(game, 4)[0]
    path = trail(4, start, 5, must=[(1, 4), (2, 3)])
    check(path is not None, "a five-line trail from vertex %d" % start)

    click_vertex(game, 4, path[1])
    check(eventually(lambda: red_vertices(game, 4) == [path[1]]), "the first line is drawn")
    before = game.canvas()
    click_vertex(game, 4, path[0])  # straight back along the first line: refused
    check(game.canvas() == before, "a refused line leaves the picture unchanged")
    for v in path[2:]:
        click_vertex(game, 4, v)
    check(eventually(lambda: red_vertices(game, 4) == [path[-1]]),
          "the last vertex is the red one")

    game.key("End")
    closed = closed_square_pieces(game, path)
    check(len(closed) == 3, "three closed triangles")
    for n, point in enumerate(closed):
        check(game.pixel(*point) == WHITE, "piece %d is white before it is coloured" % (n + 1))
        game.click(*point)
        check(eventually(lambda: game.pixel(*point) == PALETTE[n]),
              "piece %d has colour %d of the cycle: %s" % (n + 1, n, game.pixel(*point)))
    game.key("End")
    check(eventually(lambda: SCORE_BLUE in game.canvas()), "the score is shown")
    game.key("Home")
    check(eventually(lambda: TITLE_GREEN in game.canvas()), "Home returns to the home page")

    # The sounds: tune 3 played whole (12 of its 13 notes), the error sound of the refused
    # line, then the tune's first three notes for the three pieces; nothing overlapped.
    tune3 = [112, 112, 112, 115, 114, 114, 115, 110, 110, 111, 111, 112]
    expected = tune3 + [101, 112, 112, 112]
    heard = heard_whole(game, library, len(expected))
    names = [r for r, _, _ in heard]
    check(names == expected, "sounds heard %s, expected %s" % (names, expected))
    for (r, start_at, played), nxt in zip(heard, heard[1:] + [None]):
        if r != 101:
            check(played == len(library[r]), "note %d played whole (%d of %d samples)"
                  % (r, played, len(library[r])))
        if nxt:
            check(start_at + played <= nxt[1], "sound %d overlaps the next" % r)


def aborted_hexagon(game, library):
    """A Hexagon game aborted by a click in the open space, then Enter, then Home."""
    game.click(*centre(game.layout["shapeButtons"][1]))
    check(eventually(lambda: len(red_vertices(game, 6)) == 1), "one red start vertex")
    path = trail(6, red_vertices(game, 6)[0], 3)
    for v in path[1:]:
        click_vertex(game, 6, v)
    game.key("End")
    swatch = game.shape(6)["swatch"]
    check(eventually(lambda: game.pixel(swatch[0] + 2, swatch[1] + 2) != WHITE),
          "the swatch shows the next colour")
    frame = game.shape(6)["frame"]
    unit = game.layout["unit"]
    game.click(frame[0] + unit // 2 + 1, frame[3] - unit // 2 - 1)  # open space, bottom left
    check(eventually(lambda: game.pixel(swatch[0] + 2, swatch[1] + 2) == WHITE),
          "the swatch is erased")
    shot = game.screen()
    check(SCORE_BLUE not in game.canvas(shot), "an aborted game shows no score")
    game.key("End")  # nothing in Finished
    check(game.canvas() == game.canvas(shot), "End after an abort changes nothing")
    game.key("Return")
    check(eventually(lambda: len(red_vertices(game, 6)) == 1), "Enter starts the same shape again")
    check(game.pixel(swatch[0] + 2, swatch[1] + 2) == WHITE, "a new game has no swatch")
    game.key("End")
    game.key("End")
    game.key("Home")
    check(eventually(lambda: TITLE_GREEN in game.canvas()), "Home returns to the home page")


def dialogs_cover_and_exit(game, library):
    """F1, About, the picture unchanged after a window covered it, and File > Exit."""
    game.click(*centre(game.layout["shapeButtons"][3]))  # Decagon
    check(eventually(lambda: len(red_vertices(game, 10)) == 1), "the Decagon is shown")
    before = game.canvas()
    game.key("F1")
    check(eventually(lambda: game.has_focus("^Tessarin$")), "F1 shows the instructions")
    game.key("Return")
    check(eventually(lambda: not game.windows("^Tessarin$")), "Return closes the instructions")
    check(game.canvas() == before, "the picture is unchanged after the instructions box")
    check(eventually(lambda: game.has_focus("^Tessarin -- ")), "the game has the keyboard again")
    open_menu(game, "alt+h")
    game.key("a")
    check(eventually(lambda: game.has_focus("^About Tessarin$")),
          "Help > About shows the About box")
    game.key("Escape")
    check(eventually(lambda: not game.windows("^About Tessarin$")), "Escape closes the About box")
    check(game.canvas() == before, "the picture is unchanged after the About box")
    exit_from_file_menu(game)


def send_close(game, window):
    """Asks the window to close as a window manager does: a WM_DELETE_WINDOW message."""
    import ctypes
    xlib = ctypes.cdll.LoadLibrary("libX11.so.6")
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XInternAtom.restype = ctypes.c_ulong
    xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    xlib.XFlush.argtypes = [ctypes.c_void_p]
    xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]

    class ClientMessage(ctypes.Structure):
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                    ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                    ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                    ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]

    class Event(ctypes.Union):
        _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]

    display = xlib.XOpenDisplay(game.display.encode())
    check(display, "cannot open the display to send a close")
    event = Event()
    event.xclient.type = 33  # ClientMessage
    event.xclient.window = window
    event.xclient.message_type = xlib.XInternAtom(display, b"WM_PROTOCOLS", 0)
    event.xclient.format = 32
    event.xclient.data[0] = xlib.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
    xlib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                                ctypes.c_void_p]
    xlib.XSendEvent(display, window, 0, 0, ctypes.byref(event))
    xlib.XFlush(display)
    xlib.XCloseDisplay(display)


def closed_by_the_window_manager(game, library):
    """A close from a window manager, though the window offers no close box, ends the program
    cleanly, in the middle of a game."""
    game.click(*centre(game.layout["shapeButtons"][2]))  # Octagon
    check(eventually(lambda: len(red_vertices(game, 8)) == 1), "the Octagon is shown")
    ids = game.windows("^Tessarin -- ")
    check(ids, "no main window")
    send_close(game, int(ids[0]))
    ends_with_status_zero(game, "A close from the window manager")


def silent_square_game(game, library):
    """With no sound device at all the game starts, plays a whole game and ends normally."""
    game.click(*centre(game.layout["shapeButtons"][0]))
    check(eventually(lambda: len(red_vertices(game, 4)) == 1), "one red start vertex")
    path = trail(4, red_vertices(game, 4)[0], 5, must=[(1, 4), (2, 3)])
    for v in path[1:]:
        click_vertex(game, 4, v)
    game.key("End")
    for point in closed_square_pieces(game, path):
        game.click(*point)
    game.key("End")
    check(eventually(lambda: SCORE_BLUE in game.canvas()), "the score is shown")
    exit_from_file_menu(game)


# ---- Keyboards of other layouts ----

# The notes of the keys at the places of Q, A and Z on a US keyboard.
NOTES_OF_Q_A_Z = [102, 108, 113]


def set_layout(game, layout):
    run("setxkbmap", "-display", game.display, layout)
    game.settle(0.5)


def heard_whole(game, library, count):
    """The sounds heard, once `count` of them have started and the last has ended (or once
    the limit a hang reaches has passed): (resource, start, samples played) for each."""
    def done():
        heard = sounds_heard(device_samples(game.audio_path), library)
        return len(heard) >= count and (count == 0 or heard[count - 1][2] ==
                                        len(library[heard[count - 1][0]]))
    eventually(done)
    return sounds_heard(device_samples(game.audio_path), library)


def heard_since(game, library, before, count):
    """The sounds that started since `before` sounds had been heard, once `count` more have
    been heard whole."""
    return [r for r, _, _ in heard_whole(game, library, before + count)][before:]


def heard_count(game, library):
    return len(sounds_heard(device_samples(game.audio_path), library))


def notes_by_place_on_a_french_keyboard(game, library):
    """Under the French layout the keys at the places of Q, A and Z print A, Q and W: they
    play the notes of their places, as on every layout."""
    set_layout(game, "fr")
    before = heard_count(game, library)
    for keysym in ("a", "q", "w"):
        game.key(keysym)
    heard = heard_since(game, library, before, len(NOTES_OF_Q_A_Z))
    check(heard == NOTES_OF_Q_A_Z, "notes heard %s, expected %s" % (heard, NOTES_OF_Q_A_Z))


def notes_and_menus_on_a_russian_keyboard(game, library):
    """Under the Russian layout alone (no Latin letters at all) the keys at the places of Q,
    A and Z play their notes; Ctrl+P plays nothing while Ctrl with Q plays the note of Q;
    Ctrl+O opens the Open dialog; Alt+F and then X leave by File > Exit."""
    set_layout(game, "ru")
    before = heard_count(game, library)
    for keysym in ("Cyrillic_shorti", "Cyrillic_ef", "Cyrillic_ya"):
        game.key(keysym)
    game.key("ctrl+Cyrillic_ze")  # Ctrl+P: the table's, greyed; no note
    game.key("ctrl+Cyrillic_shorti")  # Ctrl+Q: the letter's note
    expected = NOTES_OF_Q_A_Z + [102]
    heard = heard_since(game, library, before, len(expected))
    check(heard == expected, "notes heard %s, expected %s" % (heard, expected))
    game.key("ctrl+Cyrillic_shcha")  # Ctrl+O
    check(eventually(lambda: game.has_focus("^Open$")),
          "Ctrl+O under the Russian layout opens the Open dialog")
    game.key("Escape")
    check(eventually(lambda: not game.windows("^Open$")), "Escape closes the Open dialog")
    check(eventually(lambda: game.has_focus("^Tessarin -- ")), "the game has the keyboard again")
    open_menu(game, "alt+Cyrillic_a")  # Alt+F
    game.key("Cyrillic_che")  # X: Exit
    ends_with_status_zero(game, "File > Exit under the Russian layout")


def finish(passed, failed, holds="screenshots and logs", keep=False, skipped=None):
    """Prints how many checks passed and failed (and how many were skipped, where counted).
    WORK is kept, with a line saying what it holds, where a check failed or KEEP asks for it,
    and removed otherwise. Returns the exit status: 1 where a check failed, else 0."""
    counts = "%d passed, %d failed" % (passed, failed)
    print(counts if skipped is None else "%s, %d skipped" % (counts, skipped))
    if failed or keep:
        print("%s in %s" % (holds, WORK))
    else:
        shutil.rmtree(WORK, ignore_errors=True)
    return 1 if failed else 0


def main():
    for tool in ("Xvfb", "xdotool", "import"):
        if not shutil.which(tool):
            print("missing %s: skipped" % tool)
            return 77
    sounds = os.path.join(WORK, "sounds")
    os.makedirs(sounds)
    run(PROBE, "--sounds", sounds)
    library = {int(name[:3]): wave_samples(os.path.join(sounds, name))
               for name in os.listdir(sounds)}
    passed = failed = 0
    # Each run of the program plays its scenarios in turn; the last one ends the program.
    for run_of_game, driver in (
            ((tune_and_square_game, aborted_hexagon, dialogs_cover_and_exit), "disk"),
            ((closed_by_the_window_manager,), "disk"),
            ((silent_square_game,), "no-such-sound-driver"),
            ((notes_by_place_on_a_french_keyboard, notes_and_menus_on_a_russian_keyboard),
             "disk")):
        game = Game(audio_driver=driver)
        try:
            for scenario in run_of_game:
                try:
                    scenario(game, library)
                    passed += 1
                    print("ok   %s" % scenario.__name__)
                except Failure as e:
                    failed += 1
                    print("FAIL %s: %s" % (scenario.__name__, e))
                    subprocess.run(["import", "-window", "root",
                                    os.path.join(WORK, scenario.__name__ + ".png")],
                                   env=game.env)
        finally:
            game.close()
    return finish(passed, failed)


if __name__ == "__main__":
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    sys.exit(main())
