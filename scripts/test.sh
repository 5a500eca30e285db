#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Tessarin developers
#
# SPDX-License-Identifier: MIT

# Builds Tessarin and runs every test: once in the normal build, once more with
# AddressSanitizer and UndefinedBehaviorSanitizer, then fuzzes the stream of player events.
# Installs the Debian packages needed: the game's, and the test tools of scripts/packages.txt.
# The builds are CMake presets (CMakePresets.json).
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$top"
"$top/scripts/deps.sh" --tests
jobs="$(nproc)"

echo "== Build and test"
# The tests and benchmarks asked for by name: a build folder that scripts/play.sh made first,
# before the test tools were installed, was made without them.
cmake --preset default -DTESSARIN_TESTS=ON -DTESSARIN_BENCH=ON >/dev/null
cmake --build --preset default -j "$jobs"
ctest --preset default -j "$((jobs * 2))"

echo "== Build and test with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset sanitizer >/dev/null
cmake --build --preset sanitizer -j "$jobs"
ctest --preset sanitizer -j "$((jobs * 2))"

: "${TESSARIN_FUZZ_SECONDS:=60}"
echo "== Fuzz the stream of player events (libFuzzer) for $TESSARIN_FUZZ_SECONDS seconds"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
# The run starts from the corpus kept in the repository (fuzz/corpus), in a copy of its own.
corpus="$top/build-fuzz/corpus"
rm -rf "$corpus" && mkdir -p "$corpus" && cp "$top"/fuzz/corpus/* "$corpus"/
log="$top/build-fuzz/fuzz.log"
# One fuzzer a processor, each a process for the whole run, sharing the corpus folder (a
# process restarted every few seconds, as -fork does, spends much of its time starting).
# Each writes build-fuzz/fuzz-N.log; the whole run is the sum of theirs.
rm -f "$top"/build-fuzz/fuzz-*.log
status=0
start=$(date +%s%N)
(cd "$top/build-fuzz" && LSAN_OPTIONS="suppressions=$top/tests/lsan.supp" ./fuzz_events \
    -jobs="$jobs" -workers="$jobs" -max_total_time="$TESSARIN_FUZZ_SECONDS" -max_len=1024 \
    -dict="$top/fuzz/events.dict" -artifact_prefix="$top/build-fuzz/" -print_final_stats=1 \
    "$corpus") >"$log" 2>&1 || status=$?
end=$(date +%s%N)
cat "$top"/build-fuzz/fuzz-*.log >>"$log" 2>/dev/null || true
runs=0
for worker in "$top"/build-fuzz/fuzz-*.log; do
    [ -f "$worker" ] || continue
    n="$(grep -oE 'stat::number_of_executed_units: [0-9]+' "$worker" | grep -oE '[0-9]+$' || true)"
    [ -n "$n" ] || n="$(grep -oE '^#[0-9]+' "$worker" | tail -1 | tr -d '#' || true)"
    runs=$((runs + ${n:-0}))
done
edges="$(grep -oE 'cov: [0-9]+' "$log" | cut -d' ' -f2 | sort -n | tail -1 || true)"
seconds=$(((end - start) / 1000000000))
echo "fuzz: $runs runs in $seconds s ($((runs / (seconds > 0 ? seconds : 1))) a second)," \
    "${edges:-0} edges covered, $(ls "$corpus" | wc -l) inputs in the corpus"
if [ "$status" -ne 0 ]; then
    # The failing input and the events it played, as text for a regression test.
    grep -A200 -E 'after event|ERROR' "$log" | head -240 || true
    echo "fuzz: failed"
    exit 1
fi
echo "fuzz: passed"
