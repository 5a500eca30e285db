#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Tessarin developers
#
# SPDX-License-Identifier: MIT

# Every C++ file of the repository is formatted as .clang-format says.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
command -v clang-format >/dev/null || { echo "clang-format is not installed: skipped"; exit 77; }
cd "$top"
mapfile -t files < <(git ls-files '*.cpp' '*.h' 2>/dev/null ||
    find app game screen input sound tests bench fuzz -name '*.cpp' -o -name '*.h')
clang-format --dry-run --Werror "${files[@]}"
echo "${#files[@]} files formatted"
