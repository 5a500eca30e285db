// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The border fill: every pixel 4-connected to the seed whose colour is not the border's takes
// the brush's colour. The rules of the game rest on it: a piece is whatever it reaches.
#include "screen/canvas/Canvas.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <iterator>
#include <vector>

namespace tess {

bool DrawingContext::floodFill(int x, int y, Colour border) {
    Canvas& c = *canvas_;
    if (!c.contains(x, y) || c.row(y)[x] == border.argb) return false;
    if (!brush_.made) return true;
    const std::uint32_t stop = border.argb;
    const std::uint32_t paint = brush_.colour.argb;
    const int w = c.width();
    const int h = c.height();

    // The fill goes a run at a time: a stretch of a row between two border pixels (or the
    // canvas's edges), painted whole the moment it is found. Its pixels are marked filled, so
    // that the run is never painted twice, nor the fill led round in circles by pixels that
    // already had the brush's colour.
    const std::size_t words = (std::size_t(w) + 63) / 64;
    if (filled_.size() != words * std::size_t(h)) filled_.assign(words * std::size_t(h), 0);
    const auto marks = [&](int row) { return filled_.data() + std::size_t(row) * words; };
    const auto isFilled = [&](int px, int row) { return (marks(row)[px / 64] >> (px % 64)) & 1; };
    // The first column from px on that is not filled: past a filled run, its border pixel.
    const auto pastFilled = [&](int px, int row) {
        const std::uint64_t* bits = marks(row);
        std::size_t k = std::size_t(px) / 64;
        std::uint64_t open = ~bits[k] & (~std::uint64_t(0) << (px % 64));
        while (open == 0 && ++k < words)
            open = ~bits[k];
        return open == 0 ? w : int(k * 64) + std::countr_zero(open);
    };
    // What was marked, cleared when the fill is done: rows top..bottom-1, columns left..right-1.
    int top = y, bottom = y + 1, left = x, right = x + 1;

    // Each run found, with the run of the row it was found from: [pl, pr) of row parentY,
    // whose neighbours there need looking at again only beyond the parent's run. The runs are
    // looked round in the order found, so that the fill sweeps through the rows as a plain
    // pass over the memory does.
    struct Run {
        int y, l, r, parentY, pl, pr;
    };
    std::vector<Run> runs;
    const auto paintRun = [&](int row, int px, int parentY, int pl, int pr) {
        std::uint32_t* pixels = c.row(row);
        // From the seed pixel to the border pixels (or the canvas's edges) on either side.
        const int l =
            int(std::find(std::reverse_iterator(pixels + px), std::reverse_iterator(pixels), stop)
                    .base() -
                pixels);
        const int r = int(std::find(pixels + px, pixels + w, stop) - pixels);
        std::fill(pixels + l, pixels + r, paint);
        std::uint64_t* bits = marks(row);
        for (int a = l; a < r;) {
            const int count = std::min(64 - a % 64, r - a);
            bits[a / 64] |= (count == 64 ? ~std::uint64_t(0) : (std::uint64_t(1) << count) - 1)
                            << (a % 64);
            a += count;
        }
        top = std::min(top, row);
        bottom = std::max(bottom, row + 1);
        left = std::min(left, l);
        right = std::max(right, r);
        runs.push_back({row, l, r, parentY, pl, pr});
        return r;
    };
    // Paints every run of row `row` not filled yet that touches columns [a, b) of run s.
    const auto visit = [&](int row, int a, int b, const Run& s) {
        const std::uint32_t* pixels = c.row(row);
        for (int px = a; px < b; ++px) {
            if (pixels[px] == stop) continue;
            px = isFilled(px, row) ? pastFilled(px, row) : paintRun(row, px, s.y, s.l, s.r);
        }
    };

    paintRun(y, x, y, 0, 0);
    for (std::size_t next = 0; next < runs.size(); ++next) {
        const Run s = runs[next];
        for (const int row : {s.y - 1, s.y + 1}) {
            if (row < 0 || row >= h) continue;
            if (row != s.parentY || s.parentY == s.y) {
                visit(row, s.l, s.r, s);
                continue;
            }
            // Only where this run reaches past its parent's.
            if (s.l < s.pl) visit(row, s.l, std::min(s.pl, s.r), s);
            if (s.r > s.pr) visit(row, std::max(s.pr, s.l), s.r, s);
        }
    }
    for (int row = top; row < bottom; ++row)
        std::fill(marks(row) + left / 64, marks(row) + (right + 63) / 64, 0);
    return true;
}

} // namespace tess
