# SPDX-FileCopyrightText: 2026 The Tessarin developers
#
# SPDX-License-Identifier: MIT

"""The whole-program tests' players (tests/e2e/play.py and sound_servers.py), for the
benchmarks that start the sound servers and the game as the sound-server test does.

The players read the game and the layout probe from the command line as they are imported:
they are given this benchmark's two, and the command line is put back.
"""
import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def load(game, probe):
    """Returns the modules play and sound_servers, set up for GAME and PROBE."""
    sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
    sys.dont_write_bytecode = True
    argv, sys.argv = sys.argv, [sys.argv[0], game, probe]
    try:
        import play
        import sound_servers
    finally:
        sys.argv = argv
    return play, sound_servers
