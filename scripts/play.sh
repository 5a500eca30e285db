#!/usr/bin/env bash
# Builds Tessarin (installing the Debian packages it needs) and starts it.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$top/scripts/deps.sh"
cmake -S "$top" -B "$top/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$top/build" --target tessarin
exec "$top/build/tessarin" "$@"
