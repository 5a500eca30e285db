// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// Pixel geometry of the view's client area: origin top-left, y downward.
#pragma once
#include <algorithm>
#include <cstdint>

namespace tess {

// A rectangle covers columns left..right-1 and rows top..bottom-1 when filled.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    // Whether it covers no pixel at all.
    bool empty() const { return right <= left || bottom <= top; }
    // Strict hit test used by every button and vertex circle: the border itself is outside.
    bool strictlyContains(int x, int y) const {
        return left < x && x < right && top < y && y < bottom;
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// The pixels a and b both cover; an empty rectangle where they share none.
inline Rect intersection(const Rect& a, const Rect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

// The smallest rectangle that covers both; an empty one covers nothing: with b empty, a itself.
inline Rect united(const Rect& a, const Rect& b) {
    if (b.empty()) return a;
    if (a.empty()) return b;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// An exact 24-bit colour. Stored as 0xFFRRGGBB, the layout of a 32-bit RGB image row.
struct Colour {
    std::uint32_t argb = 0xFF000000u;
    constexpr Colour() = default;
    constexpr explicit Colour(std::uint32_t v) : argb(v) {}
    constexpr Colour(int r, int g, int b)
        : argb(0xFF000000u | (std::uint32_t(r & 0xFF) << 16) | (std::uint32_t(g & 0xFF) << 8) |
               std::uint32_t(b & 0xFF)) {}
    constexpr int red() const { return int((argb >> 16) & 0xFF); }
    constexpr int green() const { return int((argb >> 8) & 0xFF); }
    constexpr int blue() const { return int(argb & 0xFF); }
    friend constexpr bool operator==(Colour, Colour) = default;
};

constexpr Colour kBlack{0, 0, 0};
constexpr Colour kWhite{255, 255, 255};
// What a read outside the canvas yields: a value that is no colour at all, never white.
constexpr Colour kInvalidColour{0x00FFFFFFu};

} // namespace tess
