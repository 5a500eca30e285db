#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 The Tessarin developers
#
# SPDX-License-Identifier: MIT

"""Plays the real program natively on Wayland compositors running headless.

Each of mutter (GNOME's, without the shell), KWin (KDE Plasma's), sway and weston that is
installed runs headless in a folder of its own (its runtime folder, session bus and home), and
the program runs on it as a native Wayland client (Qt's wayland platform), with every request
it sends written out (WAYLAND_DEBUG=client). Checked, as a player and the compositor see them:
  - the window fills what the compositor gives a maximised window (a tiled one on sway), and
    the canvas fills the window below its title bar and menu bar;
  - once sized, the window's least and largest sizes are that size, and a resize asked of the
    compositor (or a restore) leaves it as it is;
  - a title bar with no minimise or maximise button: where the compositor draws none, the
    window has no decoration of Qt's (no margins round its content) but a bar of its own;
  - the window maps titled with the game's title, and no buffer smaller than its final size is
    ever committed;
  - a whole Hexagon game played with the compositor's own input (mutter's remote desktop,
    KWin's fake input, sway's seat commands and virtual keyboard), its notes checked in what
    reached SDL's disk audio driver; a close from the compositor ends the program with status 0;
  - at output scale 2 on a 1280x800 and a 2560x1600 screen the four shape pictures are whole,
    their names visible, and a click in each starts its shape.
Weston offers no input to drive it: there the window is checked for paint, size and title.
Screenshots of each home page are kept with TESSARIN_KEEP_SHOTS=DIR. A table sums up what each
compositor offers.

Usage: wayland.py TESSARIN LAYOUT_PROBE
"""

import json
import os
import re
import shutil
import signal
import socket
import struct
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import play  # noqa: E402  (reads the same arguments)
from play import Failure, check  # noqa: E402

NOBODY = 65534
KEEP = os.environ.get("TESSARIN_KEEP_SHOTS")
# Linux input codes the compositors' input takes.
BTN_LEFT = 272
KEYS = {"End": 107, "Home": 102, "Return": 28, "alt": 56, "F4": 62, "F8": 66, "Right": 106,
        "Down": 108, "super": 125}
KEYSYMS = {"End": 0xff57, "Home": 0xff50, "Return": 0xff0d, "alt": 0xffe9, "F4": 0xffc1,
           "F8": 0xffc5, "Right": 0xff53, "Down": 0xff54, "super": 0xffeb}
TUNE_ONE = [112, 142]
LETTER_COLOURS = {(230, 0, 0), (0, 90, 230), (0, 160, 0), (230, 120, 0), (160, 0, 200),
                  (0, 150, 160), (220, 0, 140)}


class Skip(Exception):
    """A check that cannot be made on this compositor, with the reason."""


def wait_for(condition, seconds, step=0.05):
    end = time.time() + seconds
    while time.time() < end:
        if condition():
            return True
        time.sleep(step)
    return condition()


def run(args, env, **kw):
    return subprocess.run(args, env=env, capture_output=True, text=True, **kw)


class Picture(play.Screen):
    """A screenshot, read through ImageMagick as 8-bit RGB."""

    def __init__(self, path):
        self.path = path
        self.read(subprocess.run(["convert", path, "-depth", "8", "ppm:-"], check=True,
                                 capture_output=True).stdout)


# ---- Speaking Wayland itself, for KWin's fake input ----

class WaylandWire:
    """A bare Wayland client: the registry, and requests written by hand."""

    def __init__(self, path):
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.connect(path)
        self.next_id, self.globals, self.buffer = 2, {}, b""
        self.registry = self.new_id()
        self.send(1, 1, struct.pack("<I", self.registry))  # wl_display.get_registry
        self.roundtrip()

    def new_id(self):
        self.next_id += 1
        return self.next_id - 1

    def send(self, obj, opcode, payload):
        self.sock.sendall(struct.pack("<II", obj, (8 + len(payload)) << 16 | opcode) + payload)

    @staticmethod
    def string(text):
        raw = text.encode() + b"\0"
        return struct.pack("<I", len(raw)) + raw + b"\0" * (-len(raw) % 4)

    def roundtrip(self):
        callback = self.new_id()
        self.send(1, 0, struct.pack("<I", callback))  # wl_display.sync
        while True:
            while len(self.buffer) < 8:
                chunk = self.sock.recv(65536)
                check(chunk, "the compositor closed the connection")
                self.buffer += chunk
            obj, word = struct.unpack("<II", self.buffer[:8])
            size, opcode = word >> 16, word & 0xffff
            while len(self.buffer) < size:
                self.buffer += self.sock.recv(65536)
            body, self.buffer = self.buffer[8:size], self.buffer[size:]
            if obj == self.registry and opcode == 0:
                name, length = struct.unpack("<II", body[:8])
                interface = body[8:8 + length - 1].decode()
                version = struct.unpack("<I", body[8 + (length + 3) // 4 * 4:][:4])[0]
                self.globals[interface] = (name, version)
            elif obj == 1 and opcode == 0:
                raise Failure("Wayland error: %r" % body)
            elif obj == callback:
                return

    def bind(self, interface, version):
        check(interface in self.globals, "the compositor offers no %s" % interface)
        name, offered = self.globals[interface]
        new = self.new_id()
        self.send(self.registry, 0, struct.pack("<I", name) + self.string(interface) +
                  struct.pack("<II", min(version, offered), new))
        return new


class FakeInput:
    """KWin's fake input: absolute pointer motion, buttons and keys."""

    def __init__(self, socket_path):
        self.wire = WaylandWire(socket_path)
        self.obj = self.wire.bind("org_kde_kwin_fake_input", 4)
        self.wire.send(self.obj, 0, self.wire.string("tessarin test") +
                       self.wire.string("plays the game"))

    def fixed(self, value):
        return struct.pack("<i", int(round(value * 256)))

    def click(self, x, y):
        self.wire.send(self.obj, 9, self.fixed(x) + self.fixed(y))
        self.wire.send(self.obj, 2, struct.pack("<II", BTN_LEFT, 1))
        self.wire.send(self.obj, 2, struct.pack("<II", BTN_LEFT, 0))
        self.wire.roundtrip()

    def keys(self, names):
        for name in names:
            self.wire.send(self.obj, 10, struct.pack("<II", KEYS[name], 1))
        for name in reversed(names):
            self.wire.send(self.obj, 10, struct.pack("<II", KEYS[name], 0))
        self.wire.roundtrip()


class VirtualPointer:
    """A pointer of wlroots' virtual pointer protocol: sway has no pointer without one."""

    def __init__(self, socket_path, extent):
        self.wire = WaylandWire(socket_path)
        manager = self.wire.bind("zwlr_virtual_pointer_manager_v1", 1)
        self.obj = self.wire.new_id()
        self.wire.send(manager, 0, struct.pack("<II", 0, self.obj))  # on the default seat
        self.extent = extent
        self.wire.roundtrip()

    def move(self, x, y):
        now = int(time.monotonic() * 1000) & 0xffffffff
        self.wire.send(self.obj, 1, struct.pack("<IIIII", now, int(x), int(y), *self.extent))
        self.wire.send(self.obj, 4, b"")
        self.wire.roundtrip()

    def button(self, state):
        now = int(time.monotonic() * 1000) & 0xffffffff
        self.wire.send(self.obj, 2, struct.pack("<III", now, BTN_LEFT, state))
        self.wire.send(self.obj, 4, b"")
        self.wire.roundtrip()

    def click(self, x, y):
        self.move(x, y)
        self.button(1)
        self.button(0)

    def drag(self, start, end, steps=10):
        self.move(*start)
        time.sleep(0.1)
        self.button(1)
        for k in range(1, steps + 1):
            self.move(start[0] + (end[0] - start[0]) * k // steps,
                      start[1] + (end[1] - start[1]) * k // steps)
            time.sleep(0.03)
        self.button(0)


# ---- The compositors ----

class Compositor:
    """One headless compositor in its own folder. Subclasses start it and give its input,
    screenshots and window-management requests; None where it has none."""

    name = "?"
    runs = 0
    decorates = False  # whether it draws the window's title bar itself
    scales_output = True  # whether its output can be scaled 2 here (else Qt's own factor)

    def __init__(self, width, height, scale=1):
        self.size, self.scale = (width, height), scale
        Compositor.runs += 1
        self.folder = os.path.join(play.WORK, "%d-%s-%dx%d" % (Compositor.runs, self.name,
                                                                width, height))
        self.runtime = os.path.join(self.folder, "runtime")
        self.home = os.path.join(self.folder, "home")
        os.makedirs(self.runtime)
        os.makedirs(self.home)
        os.chmod(self.runtime, 0o700)
        self.procs = []
        self.env = dict(os.environ, XDG_RUNTIME_DIR=self.runtime, HOME=self.home,
                        XDG_CONFIG_HOME=os.path.join(self.home, "config"),
                        XDG_CACHE_HOME=os.path.join(self.home, "cache"),
                        XDG_DATA_HOME=os.path.join(self.home, "data"),
                        GSETTINGS_BACKEND="memory", NO_AT_BRIDGE="1")
        for name in ("WAYLAND_DISPLAY", "DISPLAY", "WAYLAND_DEBUG", "QT_QPA_PLATFORM",
                     "QT_SCALE_FACTOR"):
            self.env.pop(name, None)
        self.shots = 0

    def log(self, name):
        return open(os.path.join(self.folder, name + ".log"), "w")

    def start_process(self, args, name, env=None, **kw):
        p = subprocess.Popen(args, env=env or self.env, stdout=self.log(name),
                             stderr=subprocess.STDOUT, start_new_session=True, **kw)
        self.procs.append(p)
        return p

    def start_bus(self):
        address = "unix:path=" + os.path.join(self.runtime, "bus")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address
        self.start_process(["dbus-daemon", "--session", "--nofork", "--nopidfile",
                            "--address=" + address], "dbus")
        check(wait_for(lambda: os.path.exists(os.path.join(self.runtime, "bus")), 10),
              "the session bus did not start")

    def wait_socket(self, path, what):
        if not wait_for(lambda: os.path.exists(path) or any(
                p.poll() is not None for p in self.procs), 30) or not os.path.exists(path):
            raise NotRunning("%s did not start: %s" % (what, self.last_log_line(what)))

    def last_log_line(self, name):
        try:
            with open(os.path.join(self.folder, name + ".log"), errors="replace") as f:
                lines = [ln.strip() for ln in f if ln.strip()]
        except OSError:
            return "no log"
        return lines[-1] if lines else "no output"

    def stop(self):
        for p in reversed(self.procs):
            for sig in (signal.SIGTERM, signal.SIGKILL):
                try:
                    os.killpg(p.pid, sig)
                except (ProcessLookupError, PermissionError):
                    break
                try:
                    p.wait(timeout=5)
                    break
                except subprocess.TimeoutExpired:
                    continue
        self.procs = []

    def game_env(self):
        return dict(self.env, WAYLAND_DISPLAY=self.display)

    def shot_path(self, what):
        self.shots += 1
        return os.path.join(self.folder, "%02d-%s.png" % (self.shots, what))

    # Where the window's content starts on the screen, in the screenshot's pixels.
    def content_origin(self, game):
        return (0, 0)

    # Defaults: nothing of the kind here.
    screenshot = click = keys = resize_request = close_request = None


class NotRunning(Exception):
    pass


class Weston(Compositor):
    name = "weston"

    def start(self):
        self.display = "tessarin-weston"
        # The screenshooter works with --debug and a renderer that keeps pixels.
        self.start_process(["weston", "--backend=headless-backend.so", "--use-pixman",
                            "--socket=" + self.display,
                            "--width=%d" % (self.size[0] // self.scale),
                            "--height=%d" % (self.size[1] // self.scale),
                            "--scale=%d" % self.scale,
                            "--idle-time=0", "--debug"], "weston")
        self.wait_socket(os.path.join(self.runtime, self.display), "weston")
        # Weston's panel is a client of its own, started with it: until it shows, a maximised
        # window is given the whole screen, and then the screen less the panel. A desktop's
        # panel is there long before a game starts: give it that time.
        time.sleep(3)
        return self

    def screenshot(self, what):
        before = set(os.listdir(self.folder))
        run(["weston-screenshooter"], self.game_env(), cwd=self.folder, timeout=20)
        made = [f for f in set(os.listdir(self.folder)) - before if f.endswith(".png")]
        check(made, "weston made no screenshot")
        path = self.shot_path(what)
        os.rename(os.path.join(self.folder, made[0]), path)
        return Picture(path)

    def content_origin(self, game):
        # Weston's panel along the top; the window is maximised below it.
        return (0, (self.size[1] // self.scale - game.window[1]) * self.scale)


class Sway(Compositor):
    name = "sway"
    decorates = True

    def start(self):
        # Sway refuses to run as root: it runs as nobody, in a folder it owns.
        os.chmod(play.WORK, 0o755)
        for path in (self.folder, self.runtime, self.home):
            os.chown(path, NOBODY, NOBODY)
        os.chmod(self.folder, 0o755)
        config = os.path.join(self.folder, "config")
        with open(config, "w") as f:
            f.write("output HEADLESS-1 resolution %dx%d position 0 0 scale %d\n"
                    "xwayland disable\ndefault_border normal\n" % (self.size + (self.scale,)))
        os.chmod(config, 0o644)
        env = dict(self.env, WLR_BACKENDS="headless", WLR_LIBINPUT_NO_DEVICES="1",
                   WLR_RENDERER="pixman")
        self.start_process(["setpriv", "--reuid=%d" % NOBODY, "--regid=%d" % NOBODY,
                            "--clear-groups", "sway", "-c", config], "sway", env=env)
        self.display = os.path.join(self.runtime, "wayland-1")
        self.wait_socket(self.display, "sway")
        check(wait_for(lambda: self.ipc_socket(), 10), "sway's command socket did not come")
        # Headless, sway has no input device of its own: the seat's pointer is a virtual one.
        self.pointer = VirtualPointer(self.display, (self.size[0] // self.scale,
                                                     self.size[1] // self.scale))
        # The game, as root, keeps its own runtime folder.
        self.game_runtime = os.path.join(self.folder, "game-runtime")
        os.makedirs(self.game_runtime)
        os.chmod(self.game_runtime, 0o700)
        return self

    def ipc_socket(self):
        names = [n for n in os.listdir(self.runtime) if n.startswith("sway-ipc")]
        return os.path.join(self.runtime, names[0]) if names else None

    def game_env(self):
        return dict(self.env, WAYLAND_DISPLAY=self.display, XDG_RUNTIME_DIR=self.game_runtime)

    def swaymsg(self, *args):
        r = run(["swaymsg", "-s", self.ipc_socket()] + list(args), self.env)
        check(r.returncode == 0, "swaymsg %s: %s" % (" ".join(args), r.stdout + r.stderr))
        return r.stdout

    def window_rect(self):
        def find(node):
            if node.get("app_id") is not None or node.get("pid"):
                return node
            for child in node.get("nodes", []) + node.get("floating_nodes", []):
                found = find(child)
                if found:
                    return found
            return None
        view = find(json.loads(self.swaymsg("-t", "get_tree")))
        check(view, "sway shows no window")
        r, w = view["rect"], view["window_rect"]
        return (r["x"] + w["x"], r["y"] + w["y"], w["width"], w["height"])

    def content_origin(self, game):
        x, y, _, _ = self.window_rect()
        return (x * self.scale, y * self.scale)

    def screenshot(self, what):
        path = self.shot_path(what)
        r = run(["grim", path], self.game_env(), timeout=20)
        check(r.returncode == 0, "grim: %s" % r.stderr)
        return Picture(path)

    def click(self, x, y):
        self.pointer.click(x / self.scale, y / self.scale)

    def keys(self, names):
        # Wtype's keyboard is new each time: the key waits until the window has it.
        args = ["wtype", "-s", "300"]
        for name in names[:-1]:
            args += ["-M", {"alt": "alt", "super": "logo"}[name]]
        args += ["-k", names[-1]]
        for name in reversed(names[:-1]):
            args += ["-m", {"alt": "alt", "super": "logo"}[name]]
        r = run(args, self.game_env(), timeout=10)
        check(r.returncode == 0, "wtype: %s" % r.stderr)

    def resize_request(self):
        # A tiled window fills its tile: float it, then drag its border's lower right corner
        # up and to the left. (Sway's own "resize set" command sizes the frame it draws round
        # a floating window whatever the window's least and largest sizes.)
        self.swaymsg("[app_id=.*]", "floating", "enable")
        time.sleep(0.5)
        x, y, w, h = self.window_rect()
        self.pointer.drag((x + w, y + h), (x + w - 300, y + h - 200))
        time.sleep(0.5)
        now = self.window_rect()
        check(now[2:] == (w, h), "sway sized the floating window to %s, was %s" %
              (now[2:], (w, h)))
        return "floating enable, border dragged"

    def close_request(self):
        self.swaymsg("[app_id=.*]", "kill")
        return "swaymsg kill"


class KWin(Compositor):
    name = "kwin"
    decorates = True

    def start(self):
        # KWin's binary carries a file capability, which a container refuses: a copy has none.
        binary = os.path.join(self.folder, "kwin_wayland")
        shutil.copy(shutil.which("kwin_wayland"), binary)
        self.start_bus()
        self.display = "tessarin-kwin"
        env = dict(self.env, KWIN_WAYLAND_NO_PERMISSION_CHECKS="1",
                   KWIN_SCREENSHOT_NO_PERMISSION_CHECKS="1", QT_QPA_PLATFORM="wayland")
        self.start_process([binary, "--virtual", "--width", str(self.size[0] // self.scale),
                            "--height", str(self.size[1] // self.scale), "--scale",
                            str(self.scale), "--socket", self.display, "--no-lockscreen",
                            "--no-global-shortcuts"], "kwin", env=env)
        self.wait_socket(os.path.join(self.runtime, self.display), "kwin")
        check(wait_for(lambda: self.dbus_answers(), 20), "KWin does not answer on its bus")
        self.input = FakeInput(os.path.join(self.runtime, self.display))
        return self

    def dbus_answers(self):
        return run(["gdbus", "call", "--session", "--dest", "org.kde.KWin", "--object-path",
                    "/KWin", "--method", "org.freedesktop.DBus.Peer.Ping"],
                   self.env).returncode == 0

    def script(self, text):
        path = os.path.join(self.folder, "script-%d.js" % len(self.procs))
        with open(path, "w") as f:
            f.write(text)
        r = run(["gdbus", "call", "--session", "--dest", "org.kde.KWin", "--object-path",
                 "/Scripting", "--method", "org.kde.kwin.Scripting.loadScript", path],
                self.env)
        check(r.returncode == 0, "KWin took no script: %s" % r.stderr)
        number = re.search(r"\((-?\d+),\)", r.stdout)
        check(number and int(number.group(1)) >= 0, "KWin refused the script: %s" % r.stdout)
        # KWin 5 names the script's object by its number alone, KWin 6 under /Scripting.
        for path in ("/%s" % number.group(1), "/Scripting/Script%s" % number.group(1)):
            r = run(["gdbus", "call", "--session", "--dest", "org.kde.KWin", "--object-path",
                     path, "--method", "org.kde.kwin.Script.run"], self.env)
            if r.returncode == 0:
                return
        raise Failure("KWin did not run the script: %s" % r.stderr)

    def content_origin(self, game):
        # Maximised, under Breeze's title bar and without borders.
        return (0, (self.size[1] // self.scale - game.window[1]) * self.scale)

    def screenshot(self, what):
        import dbus
        bus = dbus.bus.BusConnection(self.env["DBUS_SESSION_BUS_ADDRESS"])
        shooter = bus.get_object("org.kde.KWin", "/org/kde/KWin/ScreenShot2")
        read_end, write_end = os.pipe()
        try:
            meta = shooter.CaptureArea(0, 0, self.size[0] // self.scale,
                                       self.size[1] // self.scale,
                                       {"native-resolution": True},
                                       dbus.types.UnixFd(write_end),
                                       dbus_interface="org.kde.KWin.ScreenShot2")
            os.close(write_end)
            write_end = None
            raw = b""
            while True:
                chunk = os.read(read_end, 1 << 20)
                if not chunk:
                    break
                raw += chunk
        finally:
            os.close(read_end)
            if write_end is not None:
                os.close(write_end)
        width, height, stride = int(meta["width"]), int(meta["height"]), int(meta["stride"])
        path = self.shot_path(what)
        # QImage's 32-bit formats: B, G, R, A bytes on this machine.
        rows = b"".join(raw[y * stride:y * stride + width * 4] for y in range(height))
        subprocess.run(["convert", "-size", "%dx%d" % (width, height), "-depth", "8",
                        "bgra:-", path], input=rows, check=True)
        return Picture(path)

    def click(self, x, y):
        self.input.click(x / self.scale, y / self.scale)

    def keys(self, names):
        self.input.keys(names)

    def resize_request(self):
        self.script("const w = workspace.activeClient;\n"
                    "w.setMaximize(false, false);\n"
                    "w.frameGeometry = {x: 50, y: 50, width: 640, height: 400};\n")
        return "script: unmaximise, frameGeometry 640x400"

    def close_request(self):
        self.script("workspace.activeClient.closeWindow();\n")
        return "script: closeWindow()"


class Mutter(Compositor):
    name = "mutter"
    scales_output = False

    def start(self):
        import dbus
        from dbus.mainloop.glib import DBusGMainLoop
        from gi.repository import GLib
        self.start_bus()
        # PipeWire carries the screen cast the screenshots are taken from.
        self.start_process(["pipewire"], "pipewire")
        self.wait_socket(os.path.join(self.runtime, "pipewire-0"), "pipewire")
        self.start_process(["wireplumber"], "wireplumber")
        self.display = "tessarin-mutter"
        self.start_process(["mutter", "--headless", "--wayland", "--no-x11",
                            "--virtual-monitor", "%dx%d" % self.size,
                            "--wayland-display", self.display], "mutter")
        self.wait_socket(os.path.join(self.runtime, self.display), "mutter")
        DBusGMainLoop(set_as_default=True)
        bus = dbus.bus.BusConnection(self.env["DBUS_SESSION_BUS_ADDRESS"])
        self.bus = bus
        check(wait_for(lambda: bus.name_has_owner("org.gnome.Mutter.ScreenCast") and
                       bus.name_has_owner("org.gnome.Mutter.RemoteDesktop"), 20),
              "mutter offers no screen cast or remote desktop")
        remote = bus.get_object("org.gnome.Mutter.RemoteDesktop",
                                "/org/gnome/Mutter/RemoteDesktop")
        path = remote.CreateSession(dbus_interface="org.gnome.Mutter.RemoteDesktop")
        session = bus.get_object("org.gnome.Mutter.RemoteDesktop", path)
        self.session = dbus.Interface(session, "org.gnome.Mutter.RemoteDesktop.Session")
        session_id = session.Get("org.gnome.Mutter.RemoteDesktop.Session", "SessionId",
                                 dbus_interface="org.freedesktop.DBus.Properties")
        cast = bus.get_object("org.gnome.Mutter.ScreenCast", "/org/gnome/Mutter/ScreenCast")
        cast_path = cast.CreateSession({"remote-desktop-session-id": session_id},
                                       dbus_interface="org.gnome.Mutter.ScreenCast")
        cast_session = dbus.Interface(bus.get_object("org.gnome.Mutter.ScreenCast", cast_path),
                                      "org.gnome.Mutter.ScreenCast.Session")
        self.stream = cast_session.RecordMonitor("", {"cursor-mode": dbus.UInt32(0)})
        nodes, loop = [], GLib.MainLoop()

        def added(node):
            nodes.append(int(node))
            loop.quit()
        bus.add_signal_receiver(added, signal_name="PipeWireStreamAdded",
                                dbus_interface="org.gnome.Mutter.ScreenCast.Stream",
                                path=self.stream)
        self.session.Start()
        GLib.timeout_add(10000, loop.quit)
        loop.run()
        check(nodes, "mutter's screen cast gave no stream")
        self.node = nodes[0]
        # Mutter makes the session's keyboard at its first key: a Shift now, so that the
        # game's window gets a keyboard before its first key.
        self.session.NotifyKeyboardKeycode(42, True)
        self.session.NotifyKeyboardKeycode(42, False)
        return self

    def screenshot(self, what):
        path = self.shot_path(what)
        # A new reader of the screen cast is sent the screen as it stands; now and then none
        # comes, and a reader connected again is sent it.
        for attempt in range(3):
            try:
                r = run(["gst-launch-1.0", "-q", "pipewiresrc", "path=%d" % self.node,
                         "num-buffers=1", "!", "videoconvert", "!", "pngenc", "!", "filesink",
                         "location=" + path], self.env, timeout=30)
                break
            except subprocess.TimeoutExpired:
                check(attempt < 2, "no screen cast frame in three tries of 30 s")
        check(r.returncode == 0 and os.path.exists(path), "no screen cast frame: %s" % r.stderr)
        return Picture(path)

    def click(self, x, y):
        self.session.NotifyPointerMotionAbsolute(self.stream, float(x), float(y))
        time.sleep(0.05)
        self.session.NotifyPointerButton(BTN_LEFT, True)
        self.session.NotifyPointerButton(BTN_LEFT, False)

    def keys(self, names):
        for name in names:
            self.session.NotifyKeyboardKeycode(KEYS[name], True)
        for name in reversed(names):
            self.session.NotifyKeyboardKeycode(KEYS[name], False)

    def resize_request(self):
        # Mutter's own keys: restore (Super+Down), then a keyboard resize (Alt+F8, arrows).
        self.keys(["super", "Down"])
        time.sleep(0.3)
        self.keys(["alt", "F8"])
        for _ in range(4):
            self.keys(["Right"])
            self.keys(["Down"])
        self.keys(["Return"])
        return "Super+Down, Alt+F8 and arrows"

    def close_request(self):
        self.keys(["alt", "F4"])
        return "Alt+F4"


COMPOSITORS = [("mutter", Mutter, "mutter"), ("kwin", KWin, "kwin_wayland"),
               ("sway", Sway, "sway"), ("weston", Weston, "weston")]
# What each compositor needs beyond itself, for its input and screenshots.
NEEDS = {"mutter": ["dbus-daemon", "pipewire", "wireplumber", "gst-launch-1.0", "python:dbus",
                    "python:gi"],
         "kwin": ["dbus-daemon", "gdbus", "python:dbus"],
         "sway": ["grim", "wtype", "swaymsg", "setpriv"], "weston": ["weston-screenshooter"]}


def missing(tool):
    if tool.startswith("python:"):
        try:
            __import__(tool[7:])
            return False
        except ImportError:
            return True
    return not shutil.which(tool)


# ---- The game on a compositor, and what it said to it ----

class Protocol:
    """The requests and events of the game's Wayland connection (WAYLAND_DEBUG=client)."""

    LINE = re.compile(r"^\[\s*[\d.]+\]\s+(->\s+)?(\w+)@(\d+)\.(\w+)\((.*)\)$")

    def __init__(self, path):
        self.messages = []
        with open(path, errors="replace") as f:
            for line in f:
                m = self.LINE.match(line.strip())
                if m:
                    self.messages.append((bool(m.group(1)), m.group(2), int(m.group(3)),
                                          m.group(4), m.group(5)))
        # The main window's surface: the first surface given an xdg_surface and a toplevel.
        self.surface = self.toplevel = None
        xdg_surfaces = {}
        for sent, iface, obj, name, args in self.messages:
            if sent and name == "get_xdg_surface":
                new, surface = re.findall(r"@(\d+)", args)
                xdg_surfaces[int(new)] = int(surface)
            if sent and name == "get_toplevel" and self.toplevel is None:
                self.toplevel = int(re.findall(r"@(\d+)", args)[0])
                self.surface = xdg_surfaces[obj]

    def sent(self, obj, name):
        return [(i, args) for i, (sent, _, o, n, args) in enumerate(self.messages)
                if sent and o == obj and n == name]

    def buffers(self):
        """The size of every buffer attached to the main window's surface, in order."""
        sizes, attached = {}, []
        for sent, iface, obj, name, args in self.messages:
            if sent and name == "create_buffer":
                fields = args.split(", ")
                sizes[int(re.findall(r"@(\d+)", fields[0])[0])] = (int(fields[2]),
                                                                   int(fields[3]))
            if sent and obj == self.surface and name == "attach":
                buffer = re.findall(r"wl_buffer@(\d+)", args)
                if buffer:
                    attached.append(sizes.get(int(buffer[0])))
        return attached

    def first_attach(self):
        found = self.sent(self.surface, "attach")
        return found[0][0] if found else len(self.messages)

    def titles(self):
        return [(i, json.loads(args)) for i, args in self.sent(self.toplevel, "set_title")]

    def last_size_limits(self):
        least = self.sent(self.toplevel, "set_min_size")
        most = self.sent(self.toplevel, "set_max_size")
        parse = (lambda found: tuple(int(v) for v in found[-1][1].split(", "))
                 if found else None)
        return parse(least), parse(most)

    def configures(self):
        return [args for s, iface, o, n, args in self.messages
                if not s and o == self.toplevel and n == "configure"]

    def window_geometry(self):
        xdg = [o for s, i, o, n, a in self.messages if s and n == "get_toplevel"]
        found = self.sent(xdg[0], "set_window_geometry") if xdg else []
        return tuple(int(v) for v in found[-1][1].split(", ")) if found else None

    def decoration_mode(self):
        modes = [args for s, iface, o, n, args in self.messages
                 if not s and iface == "zxdg_toplevel_decoration_v1" and n == "configure"]
        return {"1": "client", "2": "server"}.get(modes[-1]) if modes else None


class NativeGame:
    """The program on a compositor, as a native Wayland client."""

    def __init__(self, compositor, extra_env=None):
        self.comp = compositor
        self.audio = os.path.join(compositor.folder, "audio-%d.raw" % time.time_ns())
        self.debug = os.path.join(compositor.folder, "wayland-debug-%d.log" % time.time_ns())
        env = dict(compositor.game_env(), QT_QPA_PLATFORM="wayland", WAYLAND_DEBUG="client",
                   TESSARIN_REPORT_CANVAS="1", SDL_AUDIODRIVER="disk",
                   SDL_DISKAUDIOFILE=self.audio, **(extra_env or {}))
        self.proc = subprocess.Popen([play.GAME], env=env, stdout=subprocess.PIPE,
                                     stderr=open(self.debug, "w"), text=True)
        self.audio_path = self.audio
        line = self.read_line(30)
        fields = line.split()
        check(len(fields) == 6 and fields[0] == "canvas",
              "the program did not say where its canvas lies: %r" % line)
        self.cx, self.cy, self.width, self.height = (int(t) for t in fields[1:5])
        self.ratio = fields[5]
        self.layout = json.loads(play.run(play.PROBE, str(self.width), str(self.height),
                                          self.ratio))
        time.sleep(0.5)
        self.protocol = Protocol(self.debug)
        buffers = [b for b in self.protocol.buffers() if b]
        check(buffers, "the program committed no buffer")
        self.buffer = buffers[-1]  # device pixels
        scale = float(self.ratio) if compositor.scales_output else 1.0
        # The window's size in the compositor's pixels before its scale.
        self.window = (round(self.buffer[0] / scale), round(self.buffer[1] / scale))
        self.x0 = self.y0 = None

    def read_line(self, seconds):
        import selectors
        sel = selectors.DefaultSelector()
        sel.register(self.proc.stdout, selectors.EVENT_READ)
        if not sel.select(seconds):
            raise Failure("the program said nothing for %d s" % seconds)
        return self.proc.stdout.readline()

    def place(self):
        """Where the canvas lies in the compositor's screenshots."""
        ox, oy = self.comp.content_origin(self)
        self.x0, self.y0 = ox + self.cx, oy + self.cy

    def screen(self, what="shot"):
        # A compositor may have moved the window (sway floats it to resize it).
        self.place()
        return self.comp.screenshot(what)

    def pixel(self, x, y, shot):
        return shot.at(self.x0 + x, self.y0 + y)

    def click(self, x, y):
        self.place()
        self.comp.click(self.x0 + x, self.y0 + y)
        time.sleep(0.35)

    def key(self, *names):
        self.comp.keys(list(names))
        time.sleep(0.35)

    def shape(self, count):
        return self.layout["shapes"][str(count)]

    def close(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()


# ---- The checks; each returns what goes in the table ----

def fills_what_the_compositor_gives(game):
    """The last buffer has the size of the compositor's last configure, and the canvas fills
    the window below its bars; the window fills the screen's width."""
    sized = [tuple(int(v) for v in a.split(", ")[:2]) for a in game.protocol.configures()]
    sized = [s for s in sized if s != (0, 0)]
    check(sized, "the compositor gave no size")
    logical = game.window
    check(logical == sized[-1], "the window is %s, the compositor gave %s" %
          (logical, sized[-1]))
    check(game.cx == 0 and game.width == game.buffer[0] and
          game.cy + game.height == game.buffer[1] and 0 < game.cy < game.buffer[1] // 4,
          "the canvas %s does not fill the window %s below its bars" %
          ((game.cx, game.cy, game.width, game.height), game.buffer))
    screen = (game.comp.size[0] // game.comp.scale, game.comp.size[1] // game.comp.scale)
    check(abs(logical[0] - screen[0]) <= 8 and logical[1] > screen[1] * 3 // 4,
          "the window %s is far from filling the screen %s" % (logical, screen))
    return "%dx%d" % sized[-1]


def fixed_at_its_size(game):
    least, most = game.protocol.last_size_limits()
    check(least == most == game.window, "least size %s, largest %s, window %s" %
          (least, most, game.window))
    return "min = max"


def titled_from_the_start(game):
    titles = game.protocol.titles()
    check(titles, "the window was given no title")
    first_index, first = titles[0]
    check(first.startswith("Tessarin -- ") and first.endswith(" -- Version M610"),
          "the first title is %r" % first)
    check(first_index < game.protocol.first_attach(), "the title came after the first buffer")
    return "game's"


def no_small_buffer(game):
    buffers = [b for b in game.protocol.buffers() if b]
    final = buffers[-1]
    small = [b for b in buffers if b[0] < final[0] or b[1] < final[1]]
    check(not small, "buffers smaller than the final %s: %s" % (final, small))
    return "none (%d)" % len(buffers)


def title_bar(game):
    """Who draws the title bar, and that Qt's own decoration (with its buttons and border) is
    not used: the window's content is the whole surface, with no margins round it."""
    mode = game.protocol.decoration_mode()
    geometry = game.protocol.window_geometry()
    if game.comp.decorates:
        check(mode == "server", "the compositor was not asked to draw the title bar (%s)" %
              mode)
        return "compositor's"
    check(mode is None, "a decoration was asked for: %s" % mode)
    # Qt's decoration draws a border round the content, to size the window by.
    check(game.width == game.buffer[0] and game.cy + game.height == game.buffer[1],
          "a border round the canvas %s in the window %s (Qt's decoration)" %
          ((game.cx, game.cy, game.width, game.height), game.buffer))
    if geometry:
        check(geometry[:2] == (0, 0) and geometry[2:] == game.window,
              "the window has margins round its content (Qt's decoration): %s in %s" %
              (geometry, game.buffer))
    return "game's own bar"


def home_shown(game, shot):
    """Whether the green title "Tessarin" of the home page shows in the canvas's top quarter."""
    return play.TITLE_GREEN in [game.pixel(x, y, shot) for y in range(0, game.height // 4, 2)
                                for x in range(game.width // 3, 2 * game.width // 3, 2)]


def home_page_screenshot(game):
    shot = game.screen("home")
    if KEEP:
        os.makedirs(KEEP, exist_ok=True)
        shutil.copy(shot.path, os.path.join(KEEP, "%s-home.png" % game.comp.name))
    check(home_shown(game, shot), "no green title 'Tessarin' where the canvas should be")
    return "kept" if KEEP else "taken"


def refuses_resize(game):
    if not game.comp.resize_request:
        raise Skip("no resize request to make")
    game.protocol = Protocol(game.debug)
    before = len(game.protocol.buffers())
    configured = len(game.protocol.configures())
    how = game.comp.resize_request()
    time.sleep(1.5)
    protocol = Protocol(game.debug)
    after = [b for b in protocol.buffers()[before:] if b]
    changed = [b for b in after if b != game.buffer]
    asked = protocol.configures()[configured:]
    # The compositor acted on the request: it told the window its new state or size.
    check(asked, "the compositor did not act on %s" % how)
    check(not changed, "after %s the window committed buffers of %s" % (how, changed))
    check(game.proc.poll() is None, "the program ended after %s" % how)
    return "unchanged (%s; %d configures)" % (how.split(",")[0], len(asked))


def red_vertices(game, count, shot):
    return [i + 1 for i, c in enumerate(game.shape(count)["centres"])
            if game.pixel(c[0], c[1], shot) == play.RED_VERTEX]


def shape_shown(game, shot):
    """The shape whose vertex circles, and only they, are drawn on the game page."""
    drawn = set()
    for count in (4, 6, 8, 10):
        if all(game.pixel(x, y, shot) != play.WHITE for x, y in game.shape(count)["centres"]):
            drawn.add(count)
    # A shape's circles may cover some of another's centres, never all of a larger one's.
    return max(drawn) if drawn else None


def seen(game, what, looks_right):
    """A screenshot that shows what looks_right wants, taken again while the window catches up
    with the last click or key (a loaded machine paints late, and a compositor's screenshot
    comes later still), up to the limit only a hang reaches; the last one either way."""
    end = time.monotonic() + play.HANG
    shot = game.screen(what)
    while not looks_right(shot) and time.monotonic() < end:
        time.sleep(0.5)
        shot = game.screen(what)
    return shot


def hexagon_game(game, library):
    """A Hexagon game: a triangle of every other vertex from the red one and the diagonal
    through it, two closed pieces coloured with the first two notes of tune 1, and the score."""
    if not game.comp.click:
        raise Skip("no input to play with")
    game.click(*play.centre(game.layout["shapeButtons"][1]))
    shot = seen(game, "hexagon", lambda shot: len(red_vertices(game, 6, shot)) == 1)
    reds = red_vertices(game, 6, shot)
    check(len(reds) == 1, "one red start vertex on the Hexagon, found %s" % reds)
    s = reds[0]
    v = [(s - 1 + k) % 6 + 1 for k in range(6)]  # v[0] is the start
    for vertex in (v[2], v[4], v[0], v[3]):
        x, y = game.shape(6)["centres"][vertex - 1]
        game.click(x, y)
    game.key("End")
    c = game.shape(6)["centres"]
    a, b, d, e = c[v[0] - 1], c[v[2] - 1], c[v[4] - 1], c[v[3] - 1]
    middle = play.inside(b, d)
    pieces = [play.inside(a, b, middle), play.inside(a, middle, d)]
    for n, point in enumerate(pieces):
        game.click(*point)
    # Above and left of each click, clear of a pointer some screenshots show there.
    shot = seen(game, "coloured", lambda shot: all(
        game.pixel(p[0] - 4, p[1] - 4, shot) == play.PALETTE[n] for n, p in enumerate(pieces)))
    for n, point in enumerate(pieces):
        x, y = point[0] - 4, point[1] - 4
        check(game.pixel(x, y, shot) == play.PALETTE[n],
              "piece %d has colour %d of the cycle: %s" % (n + 1, n, game.pixel(x, y, shot)))
    game.key("End")
    score = game.layout["scoreRect"]

    def score_shown(shot):
        return play.SCORE_BLUE in [game.pixel(x, y, shot) for y in range(score[1], score[3], 2)
                                   for x in range(score[0], score[2], 2)]
    check(score_shown(seen(game, "score", score_shown)), "the score is shown")
    time.sleep(0.5)
    heard = [r for r, _, _ in play.sounds_heard(play.device_samples(game.audio_path), library)]
    # Tune 1's first two notes, one for each piece, and nothing else.
    check(heard == TUNE_ONE[:2], "notes heard %s, expected %s" % (heard, TUNE_ONE[:2]))
    game.key("Home")
    return "played, notes %s" % heard


def closes_on_request(game):
    if not game.comp.close_request:
        raise Skip("no close to ask for")
    how = game.comp.close_request()
    try:
        status = game.proc.wait(timeout=10)
    except subprocess.TimeoutExpired:
        raise Failure("%s did not end the program" % how)
    check(status == 0, "%s ended the program with status %s" % (how, status))
    return "status 0 (%s)" % how


def pictures_whole_at_scale_two(comp, library):
    """At scale 2 the four pictures lie whole inside the canvas with their names shown, and a
    click in each starts its shape."""
    extra = {} if comp.scales_output else {"QT_SCALE_FACTOR": "2"}
    game = NativeGame(comp, extra)
    try:
        check(float(game.ratio) == 2, "the game drew for ratio %s, not 2" % game.ratio)
        shot = game.screen("home-scale-2")
        game.place()
        if KEEP and comp.size == (1280, 800):
            shutil.copy(shot.path, os.path.join(KEEP, "%s-home-scale-2.png" % comp.name))
        size = tuple(game.layout["pictureSize"])
        for k, button in enumerate(game.layout["shapeButtons"]):
            check(button[3] <= game.height and button[2] <= game.width,
                  "picture %d %s runs out of the canvas %dx%d" %
                  (k, button, game.width, game.height))
            # The name's band: the lowest fifth of the picture holds its coloured letters.
            band = [game.pixel(x, y, shot) for y in range(button[3] - size[1] // 5, button[3])
                    for x in range(button[0], button[2])]
            check(LETTER_COLOURS & set(band), "picture %d shows no name" % k)
        if comp.click:
            for k, count in enumerate((4, 6, 8, 10)):
                game.click(*play.centre(game.layout["shapeButtons"][k]))
                shot = seen(game, "shape-%d" % count,
                            lambda shot: shape_shown(game, shot) == count)
                check(shape_shown(game, shot) == count,
                      "a click on picture %d did not start the shape of %d vertices" %
                      (k, count))
                # Home returns from a finished game: End twice finishes this one.
                for key in ("End", "End", "Home"):
                    game.key(key)
                check(home_shown(game, seen(game, "home", lambda shot: home_shown(game, shot))),
                      "Home did not return to the home page")
            return "whole, clicks start (%dx%d pictures)" % size
        return "whole (%dx%d pictures), no input" % size
    finally:
        game.close()


CHECKS = [("size", fills_what_the_compositor_gives), ("fixed", fixed_at_its_size),
          ("title", titled_from_the_start), ("buffers", no_small_buffer),
          ("title bar", title_bar), ("screenshot", home_page_screenshot)]


def main():
    if not shutil.which("convert"):
        print("ImageMagick's convert is missing: skipped")
        return 77
    if not os.path.exists("/usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/"
                          "libqwayland-generic.so"):
        print("qt6-wayland is not installed: skipped")
        return 77
    sounds = os.path.join(play.WORK, "sounds")
    os.makedirs(sounds)
    play.run(play.PROBE, "--sounds", sounds)
    library = {int(name[:3]): play.wave_samples(os.path.join(sounds, name))
               for name in os.listdir(sounds)}
    only = os.environ.get("TESSARIN_COMPOSITORS", "").split()
    passed = failed = skipped = ran = 0
    table = []
    columns = [n for n, _ in CHECKS] + ["game", "resize", "close", "scale 2 1280x800",
                                         "scale 2 2560x1600"]

    def record(row, name, what, *args):
        nonlocal passed, failed, skipped
        try:
            row.append(what(*args))
            passed += 1
            print("ok   %s: %s: %s" % (name, what.__name__, row[-1]))
        except Skip as e:
            skipped += 1
            row.append("skipped")
            print("skip %s: %s: %s" % (name, what.__name__, e))
        except Exception as e:  # noqa: BLE001  (a bus or tool that fails fails the check)
            failed += 1
            row.append("FAIL")
            print("FAIL %s: %s: %s" % (name, what.__name__, e))

    for name, kind, binary in COMPOSITORS:
        if only and name not in only:
            continue
        absent = [t for t in [binary] + NEEDS[name] if missing(t)]
        if absent:
            print("---- %s: %s not installed: skipped" % (name, ", ".join(absent)))
            table.append((name, ["not installed"]))
            continue
        started = time.time()
        row = []
        comp = kind(1280, 800)
        try:
            comp.start()
        except Exception as e:  # noqa: BLE001  (whatever it was, the compositor is stopped)
            print("---- %s does not run here: %s" % (name, e))
            table.append((name, ["does not run"]))
            comp.stop()
            continue
        ran += 1
        print("---- %s" % name)
        try:
            game = None
            try:
                game = NativeGame(comp)
                for _, what in CHECKS:
                    record(row, name, what, game)
                record(row, name, hexagon_game, game, library)
                record(row, name, refuses_resize, game)
                record(row, name, closes_on_request, game)
            except Exception as e:  # noqa: BLE001
                failed += 1
                print("FAIL %s: the game: %s" % (name, e))
            finally:
                if game:
                    game.close()
        finally:
            comp.stop()
        for size in ((1280, 800), (2560, 1600)):
            comp = kind(size[0], size[1], 2 if kind.scales_output else 1)
            try:
                comp.start()
                record(row, name, pictures_whole_at_scale_two, comp, library)
            except Exception as e:  # noqa: BLE001  (whatever it was, the compositor is stopped)
                failed += 1
                row.append("FAIL")
                print("FAIL %s at scale 2 on %dx%d: %s" % ((name,) + size + (e,)))
            finally:
                comp.stop()
        print("     %s took %.1f s" % (name, time.time() - started))
        table.append((name, row))

    print()
    print("%-8s %s" % ("", " | ".join(columns)))
    for name, row in table:
        print("%-8s %s" % (name, " | ".join(row)))
    print()
    status = play.finish(passed, failed, skipped=skipped)
    if not ran:
        print("no Wayland compositor runs here: skipped")
        return 77
    return status


if __name__ == "__main__":
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    sys.exit(main())
