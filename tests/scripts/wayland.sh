#!/usr/bin/env bash
# The game on a Wayland desktop: a headless Weston compositor with its desktop shell. The game
# must open its maximised window at the size the compositor gives it, paint, and keep running
# without a protocol error. Argument: the game binary.
set -uo pipefail
game="$1"
command -v weston >/dev/null || { echo "weston is not installed: skipped"; exit 77; }
[ -e /usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqwayland-generic.so ] ||
    { echo "qt6-wayland is not installed: skipped"; exit 77; }
work="$(mktemp -d)"
chmod 700 "$work"
export XDG_RUNTIME_DIR="$work"
weston --backend=headless-backend.so --socket=tessarin-wl --width=1280 --height=1024 \
    --idle-time=0 >"$work/weston.log" 2>&1 &
weston_pid=$!
trap 'kill $weston_pid 2>/dev/null; wait $weston_pid 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do [ -S "$work/tessarin-wl" ] && break; sleep 0.1; done

WAYLAND_DISPLAY=tessarin-wl QT_QPA_PLATFORM=wayland TESSARIN_REPORT_CANVAS=1 \
    SDL_AUDIODRIVER=dummy timeout 6 "$game" >"$work/out" 2>"$work/err"
status=$?
cat "$work/err"
passed=0 failed=0
if [ "$status" -eq 124 ]; then passed=$((passed + 1)); else
    failed=$((failed + 1)); echo "FAIL: the game ended on Wayland with status $status"; fi
if grep -qE '^canvas -?[0-9]+ -?[0-9]+ [0-9]+ [0-9]+ [0-9.]+$' "$work/out"; then passed=$((passed + 1)); else
    failed=$((failed + 1)); echo "FAIL: the game did not paint its window on Wayland"; fi
if ! grep -qi "protocol error" "$work/err"; then passed=$((passed + 1)); else
    failed=$((failed + 1)); echo "FAIL: a Wayland protocol error"; fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
