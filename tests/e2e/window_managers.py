#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 The Tessarin developers
#
# SPDX-License-Identifier: MIT

"""Plays the real window under real window managers on a virtual X server.

For each of openbox, xfwm4 and mutter that is installed and runs here, a panel along the
bottom of the screen takes 40 pixels from the work area, the manager starts, then the program.
Checked, as a player would see them:
  - the window's frame fills the work area the manager announces (_NET_WORKAREA);
  - whether the manager offers a close (_NET_WM_ALLOWED_ACTIONS) though the window asks for no
    close button; a close from the manager still ends the program with status 0;
  - the game has the keyboard at start: a letter on the home page sounds its note;
  - a window mapped over the game and unmapped again leaves the picture as it was;
  - the manager's keyboard resize (Alt+F8, arrows, Return) resizes a plain window but not the
    game's (a manager may move it instead: the picture moves along unchanged).
A short table sums up what each manager did. With TESSARIN_KEEP_SHOTS set, a screenshot of
each title bar is kept.

Usage: window_managers.py TESSARIN LAYOUT_PROBE
"""

import ctypes
import os
import shutil
import signal
import subprocess
import sys
import time

from Xlib import X, Xatom, display
from Xlib.protocol import event as xevent

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import play  # noqa: E402  (reads the same arguments)
from play import Failure, check  # noqa: E402

PANEL = 40
SCREEN = (1280, 1024)
NOTE_OF_Q = 102
NOTE_OF_A = 108


def manager_command(name, work):
    """The command that starts a manager, or None when it is not installed."""
    if not shutil.which(name):
        return None
    if name == "openbox":
        # Openbox binds no keyboard resize by default: bind Alt+F8 as xfwm4 and mutter do.
        with open("/etc/xdg/openbox/rc.xml") as f:
            rc = f.read()
        rc = rc.replace("<keyboard>", "<keyboard>\n  <keybind key=\"A-F8\">"
                        "<action name=\"Resize\"/></keybind>", 1)
        path = os.path.join(work, "openbox-rc.xml")
        with open(path, "w") as f:
            f.write(rc)
        return ["openbox", "--config-file", path]
    if name == "xfwm4":
        # Xfwm4 reads its settings from xfconfd, which the session bus starts.
        return ["dbus-run-session", "--", "xfwm4", "--compositor=off"]
    if name == "mutter":
        return ["dbus-run-session", "--", "mutter", "--x11", "--replace", "--sm-disable"]
    return None


class X11:
    """A connection to the test's X server for what xdotool cannot do."""

    def __init__(self, name):
        self.d = display.Display(name)
        self.root = self.d.screen().root

    def atom(self, name):
        return self.d.intern_atom(name)

    def prop(self, window, name):
        p = window.get_full_property(self.atom(name), X.AnyPropertyType)
        return list(p.value) if p else None

    def window(self, wid):
        return self.d.create_resource_object("window", wid)

    def client_rect(self, window):
        g = window.get_geometry()
        origin = self.root.translate_coords(window, 0, 0)
        return (origin.x, origin.y, g.width, g.height)

    def frame_rect(self, window):
        x, y, w, h = self.client_rect(window)
        left, right, top, bottom = self.prop(window, "_NET_FRAME_EXTENTS") or [0, 0, 0, 0]
        return (x - left, y - top, w + left + right, h + top + bottom)

    def work_area(self):
        area = self.prop(self.root, "_NET_WORKAREA")
        return tuple(area[:4]) if area else None

    def manager_name(self):
        check_window = self.prop(self.root, "_NET_SUPPORTING_WM_CHECK")
        if not check_window:
            return None
        name = self.window(check_window[0]).get_full_property(
            self.atom("_NET_WM_NAME"), X.AnyPropertyType)
        return name.value.decode(errors="replace") if name else "?"

    def atom_names(self, atoms):
        return [self.d.get_atom_name(a) for a in atoms or []]

    def panel(self):
        """A dock along the bottom of the screen that reserves its 40 pixels."""
        s = self.d.screen()
        w = self.root.create_window(0, SCREEN[1] - PANEL, SCREEN[0], PANEL, 0, s.root_depth,
                                    background_pixel=s.black_pixel)
        w.change_property(self.atom("_NET_WM_WINDOW_TYPE"), Xatom.ATOM, 32,
                          [self.atom("_NET_WM_WINDOW_TYPE_DOCK")])
        w.change_property(self.atom("_NET_WM_STRUT"), Xatom.CARDINAL, 32, [0, 0, 0, PANEL])
        w.change_property(self.atom("_NET_WM_STRUT_PARTIAL"), Xatom.CARDINAL, 32,
                          [0, 0, 0, PANEL, 0, 0, 0, 0, 0, 0, 0, SCREEN[0] - 1])
        w.map()
        self.d.sync()
        return w

    def plain_window(self, name, x, y, width, height):
        """An ordinary resizable top-level window in a loud colour."""
        s = self.d.screen()
        colour = s.default_colormap.alloc_color(0xffff, 0, 0xffff).pixel
        w = self.root.create_window(x, y, width, height, 0, s.root_depth,
                                    background_pixel=colour)
        w.set_wm_name(name)
        w.set_wm_normal_hints(flags=1 | 2, x=x, y=y, width=width, height=height)  # US pos/size
        w.change_property(self.atom("WM_PROTOCOLS"), Xatom.ATOM, 32,
                          [self.atom("WM_DELETE_WINDOW")])
        self.d.sync()
        return w

    def request(self, window, message, data):
        """A client message to the manager about `window`, as a pager sends it."""
        e = xevent.ClientMessage(window=window, client_type=self.atom(message),
                                 data=(32, (data + [0] * 5)[:5]))
        self.root.send_event(e, event_mask=X.SubstructureRedirectMask |
                             X.SubstructureNotifyMask)
        self.d.sync()

    def activate(self, window):
        """Asks the manager to give `window` the keyboard, and waits until it has it."""
        self.request(window, "_NET_ACTIVE_WINDOW", [2, X.CurrentTime, 0])
        return wait_for(lambda: self.has_focus(window), 30)

    def has_focus(self, window):
        focus = self.d.get_input_focus().focus
        return isinstance(focus, type(window)) and focus.id == window.id

    def close_request(self, window):
        self.request(window, "_NET_CLOSE_WINDOW", [X.CurrentTime, 2])


def wait_for(condition, seconds):
    end = time.time() + seconds
    while time.time() < end:
        if condition():
            return True
        time.sleep(0.1)
    return condition()


class ManagedGame(play.Game):
    """The program on a fresh X server with a panel and a window manager."""

    def __init__(self, manager, command):
        self.manager, self.command = manager, command
        self.helpers, self.x, self.proc, self.xvfb = [], None, None, None
        try:
            super().__init__(*SCREEN, audio_driver="disk")
        except BaseException:
            self.close()
            raise

    def prepare_desktop(self):
        self.x = X11(self.display)
        self.x.panel()
        home = os.path.join(play.WORK, "home-" + self.manager)
        os.makedirs(home, exist_ok=True)
        # The manager's own defaults, whatever the machine's user has set.
        env = dict(self.env, HOME=home, XDG_CONFIG_HOME=os.path.join(home, "config"),
                   XDG_CACHE_HOME=os.path.join(home, "cache"),
                   XDG_DATA_HOME=os.path.join(home, "data"), NO_AT_BRIDGE="1",
                   GSETTINGS_BACKEND="memory")
        self.log_path = os.path.join(play.WORK, self.manager + ".log")
        wm = subprocess.Popen(self.command, env=env, stdout=open(self.log_path, "w"),
                              stderr=subprocess.STDOUT, start_new_session=True)
        self.helpers.append(wm)
        ready = wait_for(lambda: wm.poll() is not None or (
            self.x.manager_name() and self.x.work_area() and
            self.x.work_area()[3] == SCREEN[1] - PANEL), play.HANG)
        if wm.poll() is not None or not ready:
            raise NotRunning(self.last_log_line())

    def last_log_line(self):
        with open(self.log_path, errors="replace") as f:
            lines = [ln.strip() for ln in f if ln.strip()]
        return lines[-1] if lines else "no output"

    def close(self):
        if self.proc and self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
        # Each manager runs in a process group of its own, with its session bus and what
        # the bus started: end the whole group.
        for p in self.helpers:
            for sig in (signal.SIGTERM, signal.SIGKILL):
                try:
                    os.killpg(p.pid, sig)
                except ProcessLookupError:
                    break
                try:
                    p.wait(timeout=5)
                    break
                except subprocess.TimeoutExpired:
                    continue
        if self.x:
            self.x.d.close()
            self.x = None
        if self.xvfb:
            self.xvfb.terminate()
            self.xvfb.wait()
            self.xvfb = None

    def main_window(self):
        if not getattr(self, "window_id", None):
            ids = self.windows("^Tessarin -- ")
            check(ids, "no main window titled 'Tessarin -- ...'")
            self.window_id = int(ids[0])
        return self.x.window(self.window_id)


class NotRunning(Exception):
    pass


# ---- The checks; each returns what goes in the table ----

def keyboard_at_start(game, library):
    """A letter on the home page sounds at once: the game took the keyboard at start."""
    before = play.heard_count(game, library)
    game.key("q")
    heard = play.heard_since(game, library, before, 1)
    check(heard == [NOTE_OF_Q], "the Q key at start sounds %s, not the note of Q" % heard)
    return "yes"


def fills_the_work_area(game, library):
    """The window's frame stands exactly on the work area the manager announces."""
    area = game.x.work_area()
    window = game.main_window()
    frame = game.x.frame_rect(window)
    state = game.x.atom_names(game.x.prop(window, "_NET_WM_STATE"))
    maximised = "max" if "_NET_WM_STATE_MAXIMIZED_VERT" in state else "not max"
    check(frame == area, "the frame %s does not fill the work area %s" % (frame, area))
    # The canvas fills the client area below the menu bar.
    x, y, w, h = game.x.client_rect(window)
    canvas = (game.x0, game.y0, game.width, game.height)
    check(canvas[0] == x and canvas[2] == w and canvas[1] + canvas[3] == y + h and
          y < canvas[1] < y + h // 4,
          "the canvas %s does not fill the client area %s below the menu bar" %
          (canvas, (x, y, w, h)))
    return "frame = area (%s)" % maximised


def close_offered(game, library):
    """Whether the manager offers a close for a window that asks for no close button."""
    allowed = game.x.atom_names(game.x.prop(game.main_window(), "_NET_WM_ALLOWED_ACTIONS"))
    title = game.x.frame_rect(game.main_window())
    shot = os.path.join(play.WORK, "title-%s.png" % game.manager)
    top = max(title[1], 0)
    height = max(game.y0 - top, 1)
    subprocess.run(["import", "-window", "root", "-crop", "%dx%d+0+%d" % (SCREEN[0], height, top),
                    shot], env=game.env, capture_output=True)
    if "_NET_WM_ACTION_CLOSE" in allowed:
        return "listed (hint ignored)"
    return "not listed"


def refuses_keyboard_resize(game, library):
    """The manager's keyboard resize grows a plain window, and leaves the game's alone."""
    def keyboard_resize():
        game.key("alt+F8")
        for key in ["Right"] * 4 + ["Down"] * 4:
            game.key(key)
        game.key("Return")

    plain = game.x.plain_window("plain resizable window", 300, 300, 300, 200)
    plain.map()
    game.x.d.sync()
    wait_for(lambda: game.x.client_rect(plain)[2] > 0 and plain.get_attributes().map_state ==
             X.IsViewable, play.HANG)
    check(game.x.activate(plain), "the plain window did not get the keyboard")
    game.settle(0.3)
    before = game.x.client_rect(plain)
    keyboard_resize()
    play.eventually(lambda: game.x.client_rect(plain)[2:] != before[2:], 30)
    after = game.x.client_rect(plain)
    plain.destroy()
    game.x.d.sync()
    check(after[2:] != before[2:], "the keyboard resize (Alt+F8, arrows) did nothing to a "
          "plain window here: %s" % (after,))

    window = game.main_window()
    check(game.x.activate(window), "the game did not get the keyboard back")
    game.settle(0.3)
    rect, picture = game.x.client_rect(window), game.canvas()
    keyboard_resize()
    game.settle(0.5)
    now = game.x.client_rect(window)
    check(now[2:] == rect[2:], "the game's window was resized: %s, was %s" % (now, rect))
    dx, dy = now[0] - rect[0], now[1] - rect[1]
    if (dx, dy) == (0, 0):
        check(game.canvas() == picture, "the picture changed after the keyboard resize")
        return "refused"
    # A manager may move a window it cannot resize: the picture moves along, unchanged (where
    # it stays in the work area, below the panel's edge).
    shot = game.screen()
    ax, ay, aw, ah = game.x.work_area()
    points = [(x, y) for y in range(0, game.height, 7) for x in range(0, game.width, 7)
              if ax <= game.x0 + x + dx < ax + aw and ay <= game.y0 + y + dy < ay + ah]
    check(all(shot.at(game.x0 + x + dx, game.y0 + y + dy) == picture[y * game.width + x]
              for x, y in points), "the picture changed as the manager moved the window")
    return "refused, moved (%+d,%+d)" % (dx, dy)


def keeps_its_picture_when_covered(game, library):
    """A window mapped over the game and unmapped again leaves the picture as it was, and the
    game has the keyboard again."""
    before = game.canvas()
    cover = game.x.plain_window("covering window", game.x0 + 200, game.y0 + 150, 500, 400)
    cover.map()
    game.x.d.sync()
    check(play.eventually(lambda: game.canvas() != before),
          "the covering window did not cover the game")
    cover.unmap()
    cover.destroy()
    game.x.d.sync()
    game.settle(0.75)
    check(game.canvas() == before, "the picture changed after a window covered it")
    game.x.activate(game.main_window())
    game.settle(0.5)
    count = play.heard_count(game, library)
    game.key("a")
    heard = play.heard_since(game, library, count, 1)
    check(heard == [NOTE_OF_A], "after the cover the A key sounds %s" % heard)
    return "kept"


def ends_on_a_close_from_the_manager(game, library):
    """The manager's close key, else a pager's close request, else the close message itself
    ends the program with status 0."""
    window = game.main_window()
    game.x.activate(window)
    game.settle(0.3)
    attempts = [("Alt+F4", lambda: game.key("alt+F4")),
                ("_NET_CLOSE_WINDOW", lambda: game.x.close_request(window)),
                ("WM_DELETE_WINDOW", lambda: play.send_close(game, window.id))]
    # Each way is given a few seconds to show whether this manager takes it; the last, the
    # message every manager sends, as long as a hang takes.
    for how, act in attempts:
        act()
        try:
            status = game.proc.wait(timeout=3 if how != attempts[-1][0] else play.HANG)
        except subprocess.TimeoutExpired:
            continue
        check(status == 0, "a close by %s ends with status %s" % (how, status))
        return "by %s, status 0" % how
    raise Failure("no close ended the program")


# In this order: a manager may move the window it cannot resize, and the close ends the game.
CHECKS = [("keyboard at start", keyboard_at_start),
          ("work area", fills_the_work_area),
          ("close", close_offered),
          ("cover/uncover", keeps_its_picture_when_covered),
          ("keyboard resize", refuses_keyboard_resize),
          ("ends on close", ends_on_a_close_from_the_manager)]


def become_subreaper():
    """Processes a manager leaves behind (the session bus, xfconfd) become ours to reap."""
    try:
        ctypes.CDLL(None, use_errno=True).prctl(36, 1, 0, 0, 0)  # PR_SET_CHILD_SUBREAPER
    except (OSError, AttributeError):
        pass


def end_leftovers():
    """Ends the processes the managers left behind, by their ids."""
    me = os.getpid()
    for pid in os.listdir("/proc"):
        if not pid.isdigit():
            continue
        try:
            with open("/proc/%s/stat" % pid) as f:
                parent = int(f.read().rsplit(")", 1)[1].split()[1])
        except (OSError, IndexError, ValueError):
            continue
        if parent == me:
            try:
                os.kill(int(pid), signal.SIGTERM)
            except OSError:
                pass
    try:
        while os.waitpid(-1, os.WNOHANG)[0] > 0:
            pass
    except ChildProcessError:
        pass


def main():
    for tool in ("Xvfb", "xdotool", "import"):
        if not shutil.which(tool):
            print("missing %s: skipped" % tool)
            return 77
    become_subreaper()
    sounds = os.path.join(play.WORK, "sounds")
    os.makedirs(sounds)
    play.run(play.PROBE, "--sounds", sounds)
    library = {int(name[:3]): play.wave_samples(os.path.join(sounds, name))
               for name in os.listdir(sounds)}
    passed = failed = ran = 0
    table = []
    for manager in ("openbox", "xfwm4", "mutter"):
        command = manager_command(manager, play.WORK)
        if not command:
            table.append((manager, ["not installed"] + [""] * (len(CHECKS) - 1)))
            continue
        started = time.time()
        try:
            game = ManagedGame(manager, command)
        except NotRunning as e:
            print("---- %s does not run here: %s" % (manager, e))
            table.append((manager, ["does not run"] + [""] * (len(CHECKS) - 1)))
            end_leftovers()
            continue
        ran += 1
        print("---- %s (%s)" % (manager, game.x.manager_name()))
        row = []
        try:
            for name, check_it in CHECKS:
                try:
                    row.append(check_it(game, library))
                    passed += 1
                    print("ok   %s: %s" % (manager, check_it.__name__))
                except Failure as e:
                    failed += 1
                    row.append("FAIL")
                    print("FAIL %s: %s: %s" % (manager, check_it.__name__, e))
                    subprocess.run(["import", "-window", "root", os.path.join(
                        play.WORK, "%s-%s.png" % (manager, check_it.__name__))], env=game.env)
        finally:
            game.close()
            end_leftovers()
        print("     %s took %.1f s" % (manager, time.time() - started))
        table.append((manager, row))

    widths = [max(len(n), 26) for n, _ in CHECKS]
    print()
    print("%-8s " % "manager" + " ".join("%-*s" % (w, n) for w, (n, _) in zip(widths, CHECKS)))
    for manager, row in table:
        print("%-8s " % manager + " ".join("%-*s" % (w, c) for w, c in zip(widths, row)))
    print()
    status = play.finish(passed, failed, "screenshots, title bars and logs",
                         keep=bool(os.environ.get("TESSARIN_KEEP_SHOTS")))
    if not ran:
        print("no window manager runs here: skipped")
        return 77
    return status


if __name__ == "__main__":
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    sys.exit(main())
