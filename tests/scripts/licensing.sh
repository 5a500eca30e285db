#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Tessarin developers
#
# SPDX-License-Identifier: MIT

# Every file of the source tree says its copyright and licence, as the REUSE convention asks
# (a header at the top, or .reuse/dep5 for files with no room for one): a new file without
# them fails here. Files that .gitignore leaves out (the build folders) are not looked at.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
command -v reuse >/dev/null || { echo "reuse is not installed: skipped"; exit 77; }
cd "$top"
reuse lint
