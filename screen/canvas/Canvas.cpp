// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The exact pixel canvas and its shapes: rectangles, lines, ellipses and pictures. Every
// operation writes whole pixels of one exact colour and clips to the canvas, whatever the
// coordinates it is given.
#include "screen/canvas/Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#if __has_include(<sys/mman.h>)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace tess {

namespace {

using i64 = std::int64_t;
__extension__ using i128 = __int128;

// Clamps a 64-bit coordinate into [lo, hi].
int clampTo(i64 v, int lo, int hi) {
    return int(std::clamp<i64>(v, lo, hi));
}

// Fills columns left..right-1, rows top..bottom-1, clipped to the canvas.
void fillClipped(Canvas& c, i64 left, i64 top, i64 right, i64 bottom, std::uint32_t argb) {
    const int x0 = clampTo(left, 0, c.width());
    const int x1 = clampTo(right, 0, c.width());
    const int y0 = clampTo(top, 0, c.height());
    const int y1 = clampTo(bottom, 0, c.height());
    for (int y = y0; y < y1 && x0 < x1; ++y)
        std::fill(c.row(y) + x0, c.row(y) + x1, argb);
}

} // namespace

Canvas::Canvas(int w, int h) : width_(std::max(w, 0)), height_(std::max(h, 0)) {
    const std::size_t count = std::size_t(width_) * std::size_t(height_);
    pixels_.reserve(count);
#ifdef MADV_HUGEPAGE
    // A canvas the size of a screen is megabytes, every byte of it written by the first paint:
    // in large pages that first write takes a handful of page faults, not thousands. The
    // advice covers the whole pages within the pixels, and the kernel may ignore it.
    const auto page = std::uintptr_t(sysconf(_SC_PAGESIZE));
    const auto begin = (reinterpret_cast<std::uintptr_t>(pixels_.data()) + page - 1) / page * page;
    const auto end = reinterpret_cast<std::uintptr_t>(pixels_.data() + count) / page * page;
    if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#endif
    pixels_.assign(count, kWhite.argb);
}

Colour Canvas::pixel(int x, int y) const {
    return contains(x, y) ? Colour(row(y)[x]) : kInvalidColour;
}

void Canvas::setPixel(int x, int y, Colour c) {
    if (contains(x, y)) row(y)[x] = c.argb;
}

void Canvas::clear(Colour c) {
    std::fill(pixels_.begin(), pixels_.end(), c.argb);
}

void DrawingContext::fillRect(const Rect& r, const Brush& brush) {
    if (brush.made) fillClipped(*canvas_, r.left, r.top, r.right, r.bottom, brush.colour.argb);
}

void DrawingContext::rectangle(const Rect& r) {
    if (r.empty()) return;
    const i64 w = std::max(pen_.width, 1);
    const i64 l = r.left, t = r.top, rt = r.right, b = r.bottom;
    if (brush_.made) fillClipped(*canvas_, l + w, t + w, rt - w, b - w, brush_.colour.argb);
    const std::uint32_t ink = pen_.colour.argb;
    // The pen lies on the outermost pixels and grows inward, never past the middle.
    fillClipped(*canvas_, l, t, rt, std::min(t + w, b), ink);
    fillClipped(*canvas_, l, std::max(b - w, t), rt, b, ink);
    fillClipped(*canvas_, l, t, std::min(l + w, rt), b, ink);
    fillClipped(*canvas_, std::max(rt - w, l), t, rt, b, ink);
}

namespace {

// Half of the ellipse's row width at a row, in half-pixel units: the largest k with the
// parity of width + 1 such that the pixel centres at offsets +-k/2 from the centre lie
// inside the ellipse. -1 when the row has no pixel inside. dy is the row's centre offset,
// also in half-pixel units. Exact integer arithmetic keeps the ellipse symmetric.
i64 ellipseHalfSpan(i64 w, i64 h, i64 dy) {
    if (std::abs(dy) > h) return -1; // below, dy is only ever squared
    // k^2 * h^2 + dy^2 * w^2 <= w^2 * h^2  <=>  k^2 <= w^2 * (h^2 - dy^2) / h^2
    const long double limit =
        (long double)w * (long double)w *
        ((long double)h * (long double)h - (long double)dy * (long double)dy) /
        ((long double)h * (long double)h);
    i64 k = i64(std::floor(std::sqrt(limit)));
    // Settle the rounding exactly with 128-bit products.
    const auto inside = [&](i64 kk) {
        return i128(kk) * kk * h * h + i128(dy) * dy * w * w <= i128(w) * w * h * h;
    };
    while (k >= 0 && !inside(k))
        --k;
    while (inside(k + 1))
        ++k;
    if ((k & 1) != ((w + 1) & 1)) --k;
    return k;
}

// The columns of row j of the ellipse inscribed in a w by h box: [x0, x1), the pixels whose
// centres lie inside it; empty (x0 == x1) outside the box or the ellipse.
struct Span {
    i64 x0 = 0, x1 = 0;
    bool empty() const { return x0 >= x1; }
};

Span ellipseSpan(i64 w, i64 h, i64 j) {
    if (j < 0 || j >= h) return {};
    const i64 k = ellipseHalfSpan(w, h, 2 * j + 1 - h);
    if (k < 0) return {};
    return {(w - 1 - k) / 2, (w - 1 + k) / 2 + 1};
}

} // namespace

void DrawingContext::ellipse(const Rect& r) {
    const i64 w = i64(r.right) - r.left;
    const i64 h = i64(r.bottom) - r.top;
    if (w <= 0 || h <= 0) return;
    Canvas& c = *canvas_;
    const i64 pw = std::max(pen_.width, 1);
    const std::uint32_t ink = pen_.colour.argb;
    const auto paint = [&](int y, i64 from, i64 to, std::uint32_t argb) {
        fillClipped(c, r.left + from, y, r.left + to, i64(y) + 1, argb);
    };
    // Only the rows on the canvas are worked out, and the rows a pen's width above and below
    // them (a pen wider than the box reaches only rows outside it, which are empty).
    const int y0 = clampTo(r.top, 0, c.height());
    const int y1 = clampTo(r.bottom, 0, c.height());
    if (y0 >= y1) return;
    const i64 reach = std::min(pw, h);
    const i64 first = i64(y0) - r.top - reach;
    std::vector<Span> spans(std::size_t(y1 - y0 + 2 * reach));
    for (std::size_t i = 0; i < spans.size(); ++i)
        spans[i] = ellipseSpan(w, h, first + i64(i));
    for (int y = y0; y < y1; ++y) {
        const std::size_t at = std::size_t(y - y0 + reach);
        const Span o = spans[at];
        const Span above = spans[at - std::size_t(reach)], below = spans[at + std::size_t(reach)];
        if (o.empty()) continue;
        // The inside is what stays inside after moving the pen's width in each of the four
        // directions: the outline around it is then a closed ring of the pen's thickness.
        const i64 i0 = std::max({o.x0 + pw, above.x0, below.x0});
        const i64 i1 = std::min({o.x1 - pw, above.x1, below.x1});
        if (above.empty() || below.empty() || i1 <= i0) {
            paint(y, o.x0, o.x1, ink);
            continue;
        }
        paint(y, o.x0, i0, ink);
        if (brush_.made) paint(y, i0, i1, brush_.colour.argb);
        paint(y, i1, o.x1, ink);
    }
}

void DrawingContext::lineTo(int x, int y) {
    const Point from = current_;
    current_ = {x, y};
    Canvas& c = *canvas_;
    const i64 dx = i64(x) - from.x;
    const i64 dy = i64(y) - from.y;
    const i64 adx = dx < 0 ? -dx : dx;
    const i64 ady = dy < 0 ? -dy : dy;
    const i64 n = std::max(adx, ady); // pixels drawn: the end point is left out
    if (n == 0) return;
    const int pw = std::max(pen_.width, 1);
    // A wide pen is a square of its width centred on each pixel of the thin line.
    const int lo = -(pw / 2);
    const int hi = lo + pw - 1;
    const std::uint32_t ink = pen_.colour.argb;
    const bool xMajor = adx >= ady;
    const i64 major0 = xMajor ? from.x : from.y;
    const i64 minor0 = xMajor ? from.y : from.x;
    const i64 sMajor = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const i64 sMinor = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const i64 dMinor = xMajor ? ady : adx;
    const i64 majorSize = xMajor ? c.width() : c.height();
    const i64 minorSize = xMajor ? c.height() : c.width();
    // Only the steps whose stamp can reach the canvas along the major axis are walked, so a
    // line with huge coordinates costs no more than one across the canvas.
    i64 first = 0, last = n - 1;
    if (sMajor > 0) {
        first = std::max<i64>(first, -hi - major0);
        last = std::min<i64>(last, majorSize - 1 - lo - major0);
    } else {
        first = std::max<i64>(first, major0 + lo - (majorSize - 1));
        last = std::min<i64>(last, major0 + hi);
    }
    if (first > last) return;
    // Bresenham's choice: the minor coordinate nearest the exact line, halves rounded forward
    // along the line, that is (2 i dMinor + n) / 2n, kept as a quotient and a remainder that
    // grow by 2 dMinor a step.
    const i64 twoN = 2 * n;
    const i128 start = i128(2) * first * dMinor + n;
    i64 quotient = i64(start / twoN);
    i64 remainder = i64(start % twoN);
    for (i64 i = first; i <= last; ++i) {
        const i64 m = minor0 + sMinor * quotient;
        const i64 M = major0 + sMajor * i;
        remainder += 2 * dMinor;
        while (remainder >= twoN) {
            remainder -= twoN;
            ++quotient;
        }
        if (m + hi < 0 || m + lo >= minorSize) continue;
        const i64 px = xMajor ? M : m;
        const i64 py = xMajor ? m : M;
        fillClipped(c, px + lo, py + lo, px + hi + 1, py + hi + 1, ink);
    }
}

void DrawingContext::blit(int x, int y, const Canvas& picture) {
    Canvas& c = *canvas_;
    const i64 x0 = std::max<i64>(x, 0);
    const i64 x1 = std::min<i64>(i64(x) + picture.width(), c.width());
    const i64 y0 = std::max<i64>(y, 0);
    const i64 y1 = std::min<i64>(i64(y) + picture.height(), c.height());
    for (i64 yy = y0; yy < y1 && x0 < x1; ++yy) {
        const std::uint32_t* src = picture.row(int(yy - y)) + (x0 - x);
        std::copy(src, src + (x1 - x0), c.row(int(yy)) + x0);
    }
}

} // namespace tess
