#!/usr/bin/env bash
# Builds Tessarin (installing the Debian packages it needs) and starts it.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$top"
"$top/scripts/deps.sh"
cmake --preset default >/dev/null
cmake --build --preset default --target tessarin
exec "$top/build/tessarin" "$@"
