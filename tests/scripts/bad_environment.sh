#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Tessarin developers
#
# SPDX-License-Identifier: MIT

# The game in a poor environment: no fonts of the faces it asks for, no desktop, no sound
# device. It must start, play a whole game where it can and end normally, say what is
# missing, and never crash or hang. Argument: the game binary.
set -uo pipefail
game="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
passed=0 failed=0
expect() { # description, condition
    if eval "$2"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL: $1"; fi
}
export XDG_RUNTIME_DIR="$work"

# (A whole game without any sound device is played in the real window: tests/e2e/play.py.)

# Without a desktop and without a sound device: the message, the picture, status 3.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM SDL_AUDIODRIVER=no-such-driver \
    timeout 60 "$game" >"$work/out" 2>"$work/err"
status=$?
expect "no desktop ends with status 3" '[ $status -eq 3 ]'
expect "no desktop is said" 'grep -q "needs a desktop" "$work/err"'
expect "the window is saved as a picture" 'ls "$work"/tessarin-window-*.png >/dev/null 2>&1'

# Fonts: a fontconfig with no fonts at all. The game says so once and goes on.
mkdir -p "$work/nofonts"
cat >"$work/fonts.conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig><dir>$work/nofonts</dir><cachedir>$work/fccache</cachedir></fontconfig>
CONF
FONTCONFIG_FILE="$work/fonts.conf" SDL_AUDIODRIVER=dummy timeout 60 "$game" --pictures "$work/nofonts-pictures" \
    >/dev/null 2>"$work/fonterr"
status=$?
expect "no fonts: a whole game all the same" '[ $status -eq 0 ] && [ -s "$work/nofonts-pictures/finished.png" ]'
expect "no fonts: said on standard error" 'grep -qi "font" "$work/fonterr"'

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
