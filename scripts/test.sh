#!/usr/bin/env bash
# Builds Tessarin and runs every test: once in the normal build, and once more in a build
# with AddressSanitizer and UndefinedBehaviorSanitizer. Installs the Debian packages needed.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$top/scripts/deps.sh"
jobs="$(nproc)"

echo "== Build and test"
cmake -S "$top" -B "$top/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$top/build" -j "$jobs"
ctest --test-dir "$top/build" --output-on-failure --timeout 600 -j "$jobs"

echo "== Build and test with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S "$top" -B "$top/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DTESSARIN_SANITIZE=ON -DTESSARIN_BENCH=OFF >/dev/null
cmake --build "$top/build-asan" -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    LSAN_OPTIONS="suppressions=$top/tests/lsan.supp" \
    ctest --test-dir "$top/build-asan" --output-on-failure --timeout 900 -j "$jobs"

echo "== Fuzz the stream of player events (libFuzzer) for ${TESSARIN_FUZZ_SECONDS:=60} seconds"
CXX=clang++ cmake -S "$top" -B "$top/build-fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTESSARIN_FUZZ=ON -DTESSARIN_TESTS=OFF -DTESSARIN_BENCH=OFF >/dev/null
cmake --build "$top/build-fuzz" --target fuzz_events -j "$jobs"
mkdir -p "$top/build-fuzz/corpus"
status=0
LSAN_OPTIONS="suppressions=$top/tests/lsan.supp" "$top/build-fuzz/fuzz_events" -max_total_time="$TESSARIN_FUZZ_SECONDS" -print_final_stats=1 \
    -max_len=600 -len_control=0 \
    -rss_limit_mb=4096 "$top/build-fuzz/corpus" >"$top/build-fuzz/fuzz.log" 2>&1 || status=$?
grep -E 'DONE|stat::number_of_executed_units|ERROR|SUMMARY|after event' "$top/build-fuzz/fuzz.log" || true
if [ "$status" -ne 0 ]; then
    tail -40 "$top/build-fuzz/fuzz.log"
    echo "fuzz: failed"
    exit 1
fi
echo "fuzz: passed"
