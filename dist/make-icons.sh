#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Tessarin developers
#
# SPDX-License-Identifier: MIT

# Renders the hicolor PNG icons from icons/tessarin.svg (needs rsvg-convert, librsvg2-bin).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
for size in 16 32 48 64 128 256; do
    mkdir -p "icons/$size"
    rsvg-convert -w "$size" -h "$size" icons/tessarin.svg -o "icons/$size/tessarin.png"
done
