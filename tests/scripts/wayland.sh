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
game_pid=""
trap 'kill $game_pid $weston_pid 2>/dev/null; wait $game_pid $weston_pid 2>/dev/null; rm -rf "$work"' EXIT
# Waits are bounded only by what a hang reaches (two minutes), however busy the machine.
for _ in $(seq 1200); do [ -S "$work/tessarin-wl" ] && break; sleep 0.1; done

WAYLAND_DISPLAY=tessarin-wl QT_QPA_PLATFORM=wayland TESSARIN_REPORT_CANVAS=1 \
    SDL_AUDIODRIVER=dummy "$game" >"$work/out" 2>"$work/err" &
game_pid=$!
# The game paints, then runs on for two seconds more: a protocol error would end it.
for _ in $(seq 1200); do
    grep -q '^canvas ' "$work/out" && break
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
done
sleep 2
running=0
kill -0 "$game_pid" 2>/dev/null && running=1 && kill "$game_pid"
wait "$game_pid"
status=$?
game_pid=""
cat "$work/err"
passed=0 failed=0
if [ "$running" -eq 1 ]; then passed=$((passed + 1)); else
    failed=$((failed + 1)); echo "FAIL: the game ended on Wayland with status $status"; fi
if grep -qE '^canvas -?[0-9]+ -?[0-9]+ [0-9]+ [0-9]+ [0-9.]+$' "$work/out"; then passed=$((passed + 1)); else
    failed=$((failed + 1)); echo "FAIL: the game did not paint its window on Wayland"; fi
if ! grep -qi "protocol error" "$work/err"; then passed=$((passed + 1)); else
    failed=$((failed + 1)); echo "FAIL: a Wayland protocol error"; fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
