// The exact pixel canvas: rectangles, lines, ellipses, text, the border fill and pictures.
// Every operation writes whole pixels of one exact colour and clips to the canvas, whatever
// the coordinates it is given.
#include "screen/canvas/Canvas.h"
#include "screen/canvas/PixelRuns.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <mutex>
#include <unordered_map>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tess {

namespace {

using i64 = std::int64_t;
__extension__ using i128 = __int128;

// Clamps a 64-bit coordinate into [lo, hi].
int clampTo(i64 v, int lo, int hi) {
    return int(std::clamp<i64>(v, lo, hi));
}

void fillSpan(Canvas& c, int y, int x0, int x1, std::uint32_t argb) {
    if (x1 > x0) fillRun(c.row(y) + x0, std::size_t(x1 - x0), argb);
}

// Fills columns left..right-1, rows top..bottom-1, clipped to the canvas.
void fillClipped(Canvas& c, i64 left, i64 top, i64 right, i64 bottom, std::uint32_t argb) {
    const int x0 = clampTo(left, 0, c.width());
    const int x1 = clampTo(right, 0, c.width());
    const int y0 = clampTo(top, 0, c.height());
    const int y1 = clampTo(bottom, 0, c.height());
    if (x1 <= x0 || y1 <= y0) return;
    // Whole rows lie one after another: one run, like a clear of the canvas.
    if (x0 == 0 && x1 == c.width()) {
        fillRun(c.row(y0), std::size_t(y1 - y0) * std::size_t(c.width()), argb);
        return;
    }
    for (int y = y0; y < y1; ++y)
        fillSpan(c, y, x0, x1, argb);
}

// Half of the ellipse's row width at a row, in half-pixel units: the largest k with the
// parity of width + 1 such that the pixel centres at offsets +-k/2 from the centre lie
// inside the ellipse. -1 when the row has no pixel inside. dy is the row's centre offset,
// also in half-pixel units. Exact integer arithmetic keeps the ellipse symmetric.
i64 ellipseHalfSpan(i64 w, i64 h, i64 dy) {
    if (dy < 0) dy = -dy;
    if (dy > h) return -1;
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

// The first column in [a, b) of a row whose pixel is (equal) or is not (!equal) the
// colour v; b when there is none. Four pixels at a time where SSE2 is there.
int findFirst(const std::uint32_t* row, int a, int b, std::uint32_t v, bool equal) {
    int i = a;
#if defined(__SSE2__)
    const __m128i key = _mm_set1_epi32(int(v));
    const int want = equal ? 0 : 0xFFFF;
    for (; i + 16 <= b; i += 16) {
        const auto* p = reinterpret_cast<const __m128i*>(row + i);
        const __m128i e0 = _mm_cmpeq_epi32(_mm_loadu_si128(p), key);
        const __m128i e1 = _mm_cmpeq_epi32(_mm_loadu_si128(p + 1), key);
        const __m128i e2 = _mm_cmpeq_epi32(_mm_loadu_si128(p + 2), key);
        const __m128i e3 = _mm_cmpeq_epi32(_mm_loadu_si128(p + 3), key);
        const bool all =
            equal
                ? _mm_movemask_epi8(_mm_or_si128(_mm_or_si128(e0, e1), _mm_or_si128(e2, e3))) ==
                      want
                : _mm_movemask_epi8(_mm_and_si128(_mm_and_si128(e0, e1), _mm_and_si128(e2, e3))) ==
                      want;
        if (!all) break;
    }
#endif
    while (i < b && (row[i] == v) != equal)
        ++i;
    return i;
}

// Marks which of the pixels l..r-1 of a row are the colour v: bit i % 64 of word i / 64 for
// column l + i. The bits after the last column are set, and one more word of set bits follows,
// as if the row went on in v: a search for the next set bit always ends.
void markColour(const std::uint32_t* row, int l, int r, std::uint32_t v,
                std::vector<std::uint64_t>& bits) {
    const int n = r - l;
    bits.assign(std::size_t(n) / 64 + 2, ~std::uint64_t(0));
    int i = 0;
#if defined(__SSE2__)
    const __m128i key = _mm_set1_epi32(int(v));
    const auto four = [&](int at) {
        const __m128i e =
            _mm_cmpeq_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row + l + at)), key);
        return std::uint64_t(unsigned(_mm_movemask_ps(_mm_castsi128_ps(e))));
    };
    for (; i + 64 <= n; i += 64) {
        std::uint64_t word = 0;
        for (int k = 0; k < 64; k += 16)
            word |=
                (four(i + k) | four(i + k + 4) << 4 | four(i + k + 8) << 8 | four(i + k + 12) << 12)
                << k;
        bits[std::size_t(i) / 64] = word;
    }
#endif
    if (i < n) {
        std::uint64_t word = ~std::uint64_t(0);
        for (int k = 0; i + k < n; ++k)
            if (row[l + i + k] != v) word &= ~(std::uint64_t(1) << k);
        bits[std::size_t(i) / 64] = word;
    }
}

#if defined(__SSE2__)
// Paints the sixteen pixels at p with ink when none of them is key; returns whether it did.
inline bool paintSixteenUnlessStop(__m128i* p, __m128i key, __m128i ink) {
    const __m128i v0 = _mm_loadu_si128(p), v1 = _mm_loadu_si128(p + 1);
    const __m128i v2 = _mm_loadu_si128(p + 2), v3 = _mm_loadu_si128(p + 3);
    const __m128i any =
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi32(v0, key), _mm_cmpeq_epi32(v1, key)),
                     _mm_or_si128(_mm_cmpeq_epi32(v2, key), _mm_cmpeq_epi32(v3, key)));
    if (_mm_movemask_epi8(any) != 0) return false;
    _mm_storeu_si128(p, ink);
    _mm_storeu_si128(p + 1, ink);
    _mm_storeu_si128(p + 2, ink);
    _mm_storeu_si128(p + 3, ink);
    return true;
}
#endif

// Paints columns x, x+1, ... of a row, up to the first pixel that is the colour stop or up to
// b, whichever comes first; returns that column. Each pixel is read and, where it is not
// stop, written at once: sixteen pixels at a time where SSE2 is there.
int paintUntil(std::uint32_t* row, int x, int b, std::uint32_t stop, std::uint32_t paint) {
    int i = x;
#if defined(__SSE2__)
    const __m128i key = _mm_set1_epi32(int(stop));
    const __m128i ink = _mm_set1_epi32(int(paint));
    // A pixel at a time up to the next 64-byte boundary, so that each sixteen pixels after it
    // are one line of the memory: none is then read or written in two halves.
    for (; i < b && (reinterpret_cast<std::uintptr_t>(row + i) & 63) != 0; ++i) {
        if (row[i] == stop) return i;
        row[i] = paint;
    }
    for (; i + 16 <= b; i += 16) {
        auto* p = reinterpret_cast<__m128i*>(row + i);
        if (!paintSixteenUnlessStop(p, key, ink)) break;
    }
    for (; i + 4 <= b; i += 4) {
        auto* p = reinterpret_cast<__m128i*>(row + i);
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_loadu_si128(p), key)) != 0) break;
        _mm_storeu_si128(p, ink);
    }
#endif
    for (; i < b && row[i] != stop; ++i)
        row[i] = paint;
    return i;
}

// Paints columns x-1, x-2, ... of a row, down to the first pixel that is the colour stop or
// to the row's start; returns the leftmost column painted (x when none was).
int paintBackTo(std::uint32_t* row, int x, std::uint32_t stop, std::uint32_t paint) {
    int i = x;
#if defined(__SSE2__)
    const __m128i key = _mm_set1_epi32(int(stop));
    const __m128i ink = _mm_set1_epi32(int(paint));
    for (; i >= 16; i -= 16) {
        auto* p = reinterpret_cast<__m128i*>(row + i - 16);
        if (!paintSixteenUnlessStop(p, key, ink)) break;
    }
#endif
    for (; i > 0 && row[i - 1] != stop; --i)
        row[i - 1] = paint;
    return i;
}

} // namespace

namespace {

// The white pixels Canvas::prepare made, and the size they are for.
struct Prepared {
    std::mutex lock;
    int width = 0, height = 0;
    std::unique_ptr<std::uint32_t[]> pixels;
};

Prepared& prepared() {
    static Prepared p;
    return p;
}

std::unique_ptr<std::uint32_t[]> whitePixels(std::size_t count) {
    std::unique_ptr<std::uint32_t[]> pixels(new std::uint32_t[count]);
    // White is every byte 0xFF: one memset, as fast as the memory takes it.
    static_assert(kWhite.argb == 0xFFFFFFFFu);
    std::memset(pixels.get(), 0xFF, count * sizeof(std::uint32_t));
    return pixels;
}

} // namespace

void Canvas::prepare(int width, int height) {
    const std::size_t count = std::size_t(std::max(width, 0)) * std::size_t(std::max(height, 0));
    Prepared& p = prepared();
    {
        // The one kept before is let go first, so that two are never held at once.
        std::lock_guard guard(p.lock);
        p.pixels.reset();
        p.width = p.height = 0;
    }
    if (count == 0) return;
    std::unique_ptr<std::uint32_t[]> pixels = whitePixels(count);
    std::lock_guard guard(p.lock);
    p.pixels = std::move(pixels);
    p.width = width;
    p.height = height;
}

Canvas::Canvas(int w, int h) : width_(std::max(w, 0)), height_(std::max(h, 0)) {
    if (pixelCount() == 0) return;
    // A new canvas is white, and known to be: its first page has nothing to erase.
    white_.blank = Rect{0, 0, width_, height_};
    {
        Prepared& p = prepared();
        std::lock_guard guard(p.lock);
        if (p.pixels && p.width == width_ && p.height == height_) {
            pixels_ = std::move(p.pixels);
            p.width = p.height = 0;
            return;
        }
    }
    pixels_ = whitePixels(pixelCount());
}

Canvas::Canvas(const Canvas& other)
    : width_(other.width_), height_(other.height_), white_(other.white_) {
    if (pixelCount() == 0) return;
    pixels_.reset(new std::uint32_t[pixelCount()]);
    std::memcpy(pixels_.get(), other.pixels_.get(), pixelCount() * sizeof(std::uint32_t));
}

Canvas& Canvas::operator=(const Canvas& other) {
    if (this != &other) *this = Canvas(other);
    return *this;
}

bool operator==(const Canvas& a, const Canvas& b) {
    return a.width_ == b.width_ && a.height_ == b.height_ &&
           (a.pixelCount() == 0 || std::memcmp(a.pixels_.get(), b.pixels_.get(),
                                               a.pixelCount() * sizeof(std::uint32_t)) == 0);
}

Colour Canvas::pixel(int x, int y) const {
    return contains(x, y) ? Colour(row(y)[x]) : kInvalidColour;
}

void Canvas::setPixel(int x, int y, Colour c) {
    changedElsewhere();
    if (contains(x, y)) row(y)[x] = c.argb;
}

void Canvas::clear(Colour c) {
    changedElsewhere();
    if (pixelCount() > 0) fillRun(pixels_.get(), pixelCount(), c.argb);
}

namespace {

// The rectangle's part on the canvas; empty (all zero) when there is none.
Rect clippedTo(const Canvas& c, i64 left, i64 top, i64 right, i64 bottom) {
    const Rect r{clampTo(left, 0, c.width()), clampTo(top, 0, c.height()),
                 clampTo(right, 0, c.width()), clampTo(bottom, 0, c.height())};
    return r.left < r.right && r.top < r.bottom ? r : Rect{};
}

bool isEmpty(const Rect& r) {
    return r.left >= r.right || r.top >= r.bottom;
}

bool meet(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool holds(const Rect& outer, const Rect& inner) {
    return outer.left <= inner.left && inner.right <= outer.right && outer.top <= inner.top &&
           inner.bottom <= outer.bottom;
}

i64 area(const Rect& r) {
    return isEmpty(r) ? 0 : i64(r.right - r.left) * i64(r.bottom - r.top);
}

} // namespace

void DrawingContext::inked(i64 left, i64 top, i64 right, i64 bottom) {
    Canvas::KnownWhite& white = canvas_->white_;
    if (isEmpty(white.blank)) return;
    const Rect r = clippedTo(*canvas_, left, top, right, bottom);
    if (isEmpty(r) || !meet(r, white.blank)) return;
    // Ink inside a mark already made changes nothing: the most common case, a line on the
    // board or a piece's fill inside the board's mark.
    if (std::any_of(white.inked.begin(), white.inked.end(),
                    [&r](const Rect& m) { return holds(m, r); }))
        return;
    // Marks are kept apart, so that an erase between them still finds its area white; but a
    // mark joins any other whose joined rectangle is no larger than the two apart, so that
    // overlapping ink (the lines of a board) is erased once, not once for each mark. Past a
    // score of marks, a new one joins the one it grows least.
    const auto joined = [](const Rect& a, const Rect& b) {
        return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                    std::max(a.bottom, b.bottom)};
    };
    Rect mark = r;
    i64 markArea = area(mark);
    for (std::size_t k = 0; k < white.inked.size();) {
        const Rect& m = white.inked[k];
        const Rect both = joined(mark, m);
        if (const i64 bothArea = area(both); bothArea <= markArea + area(m)) {
            mark = both;
            markArea = bothArea;
            white.inked[k] = white.inked.back();
            white.inked.pop_back();
        } else {
            ++k;
        }
    }
    constexpr std::size_t kMarks = 24;
    if (white.inked.size() < kMarks) {
        white.inked.push_back(mark);
        return;
    }
    Rect* best = &white.inked.front();
    i64 growth = area(joined(mark, *best)) - area(*best);
    for (Rect& m : white.inked)
        if (const i64 g = area(joined(mark, m)) - area(m); g < growth) {
            best = &m;
            growth = g;
        }
    *best = joined(mark, *best);
}

void DrawingContext::fillRect(const Rect& r, const Brush& brush) {
    if (!brush.made) return;
    const Rect filled = clippedTo(*canvas_, r.left, r.top, r.right, r.bottom);
    if (isEmpty(filled)) return;
    if (brush.colour != kWhite) {
        fillClipped(*canvas_, r.left, r.top, r.right, r.bottom, brush.colour.argb);
        inked(filled.left, filled.top, filled.right, filled.bottom);
        return;
    }
    Canvas::KnownWhite& white = canvas_->white_;
    if (holds(white.blank, filled)) {
        // In an area known to be white but for some ink, only the ink is erased; the marks
        // it covers are white again.
        for (const Rect& m : white.inked)
            if (meet(m, filled))
                fillClipped(*canvas_, std::max(m.left, filled.left), std::max(m.top, filled.top),
                            std::min(m.right, filled.right), std::min(m.bottom, filled.bottom),
                            kWhite.argb);
        std::erase_if(white.inked, [&](const Rect& m) { return holds(filled, m); });
        return;
    }
    fillClipped(*canvas_, r.left, r.top, r.right, r.bottom, kWhite.argb);
    // A white page, or any white area larger than the one known, is known white from now on.
    if (area(filled) >= area(white.blank)) white = {filled, {}};
}

void DrawingContext::rectangle(const Rect& r) {
    if (r.right <= r.left || r.bottom <= r.top) return;
    inked(r.left, r.top, r.right, r.bottom);
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

// One row of an ellipse, relative to its rectangle: the covered columns [o0, o1) (none when
// o0 >= o1), and inside them the columns [i0, i1) of the fill (none when i0 >= i1).
struct EllipseRow {
    i64 o0, o1, i0, i1;
};

// Rows from..to-1 of the ellipse inscribed in a w by h rectangle with a pen of width pw.
std::vector<EllipseRow> ellipseRows(i64 w, i64 h, i64 pw, i64 from, i64 to) {
    // Row j (0 <= j < h) covers the pixels whose centres lie inside the ellipse.
    const auto span = [&](i64 j, i64& x0, i64& x1) {
        x0 = x1 = 0;
        if (j < 0 || j >= h) return;
        const i64 k = ellipseHalfSpan(w, h, 2 * j + 1 - h);
        if (k < 0) return;
        x0 = (w - 1 - k) / 2;
        x1 = (w - 1 + k) / 2 + 1;
    };
    std::vector<EllipseRow> rows(static_cast<std::size_t>(to - from));
    for (i64 j = from; j < to; ++j) {
        EllipseRow& row = rows[static_cast<std::size_t>(j - from)];
        span(j, row.o0, row.o1);
        if (row.o0 >= row.o1) continue;
        // The inside is what stays inside after moving the pen's width in each of the four
        // directions: the outline around it is then a closed ring of the pen's thickness.
        i64 a0, a1, b0, b1;
        span(j - pw, a0, a1);
        span(j + pw, b0, b1);
        row.i0 = std::max({row.o0 + pw, a0, b0});
        row.i1 = std::min({row.o1 - pw, a1, b1});
        if (a0 >= a1 || b0 >= b1) row.i0 = row.i1 = row.o0;
        if (row.i1 < row.i0) row.i1 = row.i0;
    }
    return rows;
}

// The rows of an ellipse as ellipseRows gives them, worked out once for each size and pen:
// a board draws the same circle at every vertex, paint after paint.
const std::vector<EllipseRow>& knownEllipseRows(i64 w, i64 h, i64 pw) {
    struct Key {
        i64 w, h, pw;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& k) const {
            return std::size_t(k.w * 1000003 + k.h * 1009 + k.pw);
        }
    };
    thread_local std::unordered_map<Key, std::vector<EllipseRow>, KeyHash> known;
    const Key key{w, h, pw};
    if (const auto it = known.find(key); it != known.end()) return it->second;
    if (known.size() > 256) known.clear();
    return known.emplace(key, ellipseRows(w, h, pw, 0, h)).first->second;
}

} // namespace

void DrawingContext::ellipse(const Rect& r) {
    const i64 w = i64(r.right) - r.left;
    const i64 h = i64(r.bottom) - r.top;
    if (w <= 0 || h <= 0) return;
    inked(r.left, r.top, r.right, r.bottom);
    Canvas& c = *canvas_;
    const i64 pw = std::max(pen_.width, 1);
    const std::uint32_t ink = pen_.colour.argb;
    const int y0 = clampTo(r.top, 0, c.height());
    const int y1 = clampTo(i64(r.bottom), 0, c.height());
    if (y0 >= y1) return;
    // The rows of a rectangle no taller than a screen are kept; a taller one is worked out
    // for its visible rows only.
    const bool keep = h <= 8192;
    const i64 first = keep ? 0 : i64(y0) - r.top;
    const std::vector<EllipseRow> own =
        keep ? std::vector<EllipseRow>() : ellipseRows(w, h, pw, first, i64(y1) - r.top);
    const std::vector<EllipseRow>& rows = keep ? knownEllipseRows(w, h, pw) : own;
    const i64 base = r.left;
    for (int y = y0; y < y1; ++y) {
        const EllipseRow& row = rows[static_cast<std::size_t>(i64(y) - r.top - first)];
        if (row.o0 >= row.o1) continue;
        const auto paint = [&](i64 s0, i64 s1, std::uint32_t argb) {
            const int x0 = clampTo(base + s0, 0, c.width());
            const int x1 = clampTo(base + s1, 0, c.width());
            fillSpan(c, y, x0, x1, argb);
        };
        if (row.i0 >= row.i1) {
            paint(row.o0, row.o1, ink);
            continue;
        }
        paint(row.o0, row.i0, ink);
        if (brush_.made) paint(row.i0, row.i1, brush_.colour.argb);
        paint(row.i1, row.o1, ink);
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
    inked(std::min<i64>(from.x, x) + lo, std::min<i64>(from.y, y) + lo,
          std::max<i64>(from.x, x) + hi + 1, std::max<i64>(from.y, y) + hi + 1);
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
        if (pw == 1) {
            c.row(int(py))[px] = ink;
        } else {
            fillClipped(c, px + lo, py + lo, px + hi + 1, py + hi + 1, ink);
        }
    }
}

namespace {

// The lines of text word-wrapped in r in font, as drawText lays them out: each line takes as
// many whole words as fit in the rectangle's width; a '\n' always ends a line; a word wider
// than the line stands alone. line(text of the line, top of its cell) is called for every line
// that starts above r's bottom. Returns whether every line with something on it did.
template <class LineFn>
bool wrapLines(const Font& font, std::string_view text, const Rect& r, LineFn&& line) {
    const int cell = font.cellHeight();
    const i64 maxWidth = i64(r.right) - r.left;
    i64 y = r.top;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view para = text.substr(pos, end - pos);
        if (!para.empty() && para.back() == '\r') para.remove_suffix(1);
        bool firstLine = true;
        while (firstLine || !para.empty()) {
            if (y >= r.bottom) {
                // Lines below the rectangle: lost, unless they are blank.
                const std::size_t at = std::size_t(para.data() - text.data());
                return text.find_first_not_of(" \r\n", at) == std::string_view::npos;
            }
            firstLine = false;
            // Take words while the line fits. A text's width is the sum of its glyphs'
            // advances, so the line's width grows word by word.
            std::size_t take = 0;
            i64 width = 0;
            while (take < para.size()) {
                std::size_t wordEnd = take;
                while (wordEnd < para.size() && para[wordEnd] == ' ')
                    ++wordEnd;
                while (wordEnd < para.size() && para[wordEnd] != ' ')
                    ++wordEnd;
                const i64 wider = width + font.extent(para.substr(take, wordEnd - take)).cx;
                if (take != 0 && wider > maxWidth) break;
                take = wordEnd;
                width = wider;
            }
            line(para.substr(0, take), int(y));
            y += cell;
            para.remove_prefix(take);
            while (!para.empty() && para.front() == ' ')
                para.remove_prefix(1);
        }
        pos = end + 1;
    }
    return true;
}

// Where a single line of text starts in r: its cell's top-left corner.
Point singleLineOrigin(const Font& font, std::string_view text, const Rect& r, TextForm form) {
    const int width = font.extent(text).cx;
    int x = r.left;
    if (form == TextForm::SingleCentre) x = int((i64(r.left) + r.right - width) / 2);
    if (form == TextForm::SingleRight) x = int(i64(r.right) - width);
    return {x, int((i64(r.top) + r.bottom - font.cellHeight()) / 2)};
}

// Whether the ink of a line of text whose cell starts at (x, y) lies wholly inside r.
bool inkInside(const Font& font, std::string_view text, i64 x, i64 y, const Rect& r) {
    const Rect ink = font.inkBox(text);
    if (ink.left >= ink.right) return true; // nothing inked
    return x + ink.left >= r.left && x + ink.right <= r.right && y + ink.top >= r.top &&
           y + ink.bottom <= r.bottom;
}

} // namespace

void DrawingContext::drawText(std::string_view text, const Rect& r, TextForm form) {
    drawTextIn(font_, text, r, form);
}

void DrawingContext::drawTextIn(const Font& font, std::string_view text, const Rect& r,
                                TextForm form) {
    if (font.empty() || r.right <= r.left || r.bottom <= r.top) return;
    if (textLog_) textLog_->push_back({std::string(text), r, form, textColour_, font});
    const auto note = [this](const Rect& set) {
        if (!isEmpty(set)) inked(set.left, set.top, set.right, set.bottom);
    };
    if (form != TextForm::WordWrap) {
        const Point at = singleLineOrigin(font, text, r, form);
        note(font.draw(*canvas_, text, at.x, at.y, textColour_, r));
        return;
    }
    wrapLines(font, text, r, [&](std::string_view line, int y) {
        note(font.draw(*canvas_, line, r.left, y, textColour_, r));
    });
}

bool DrawingContext::textFits(const Font& font, std::string_view text, const Rect& r,
                              TextForm form) {
    if (font.empty() || r.right <= r.left || r.bottom <= r.top) return false;
    if (form != TextForm::WordWrap) {
        const Point at = singleLineOrigin(font, text, r, form);
        return inkInside(font, text, at.x, at.y, r);
    }
    bool inside = true;
    const bool whole = wrapLines(font, text, r, [&](std::string_view line, int y) {
        inside = inside && inkInside(font, line, r.left, y, r);
    });
    return whole && inside;
}

Font DrawingContext::fittingFont(std::string_view text, const Rect& r, TextForm form) const {
    if (font_.empty()) return font_;
    // Every paint fits the same texts into the same rectangles: the answer for a font, a text
    // and a rectangle's size is kept (for the latest few thousand of them).
    struct Key {
        const void* font;
        std::size_t textHash, textSize;
        int width, height;
        TextForm form;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& k) const {
            std::size_t h = std::hash<const void*>()(k.font) ^ (k.textHash * 31u);
            h ^= (std::size_t(k.width) << 20) ^ (std::size_t(k.height) << 4) ^ std::size_t(k.form);
            return h;
        }
    };
    thread_local std::unordered_map<Key, Font, KeyHash> fitted;
    const Key key{font_.identity(), std::hash<std::string_view>()(text),
                  text.size(),      r.width(),
                  r.height(),       form};
    if (const auto it = fitted.find(key); it != fitted.end()) return it->second;
    if (fitted.size() > 4096) fitted.clear();
    return fitted.emplace(key, searchFittingFont(text, r, form)).first->second;
}

Font DrawingContext::searchFittingFont(std::string_view text, const Rect& r, TextForm form) const {
    if (textFits(font_, text, r, form)) return font_;
    // Hinted widths do not shrink steadily with the cell height: every height is tried, from
    // the selected font's down, and the first that fits is the largest.
    Font smallest = font_;
    for (int cell = font_.cellHeight() - 1; cell >= 1; --cell) {
        const Font smaller = font_.withCellHeight(cell);
        if (smaller.empty()) break;
        if (textFits(smaller, text, r, form)) return smaller;
        smallest = smaller;
    }
    return smallest;
}

void DrawingContext::drawTextFitted(std::string_view text, const Rect& r, TextForm form) {
    drawTextIn(fittingFont(text, r, form), text, r, form);
}

Size DrawingContext::textExtent(std::string_view text) const {
    return font_.extent(text);
}

bool DrawingContext::floodFill(int x, int y, Colour border) {
    Canvas& c = *canvas_;
    if (!c.contains(x, y) || c.row(y)[x] == border.argb) return false;
    if (!brush_.made) return true;
    const std::uint32_t stop = border.argb;
    const std::uint32_t paint = brush_.colour.argb;
    const int w = c.width();
    const int h = c.height();
    // Filled runs are recorded in a bitmap, one bit a pixel: the brush's colour may already
    // be in the region, so a pixel's colour cannot tell whether it was filled. Runs are
    // always filled whole, so one bit tells for the whole run.
    // The bitmap is kept between fills and all clear between them: each fill clears only
    // the words of the rows and columns it marked, so that colouring many small pieces on a
    // large canvas does not clear a whole canvas's worth of bits for each piece.
    const std::size_t words = (std::size_t(w) + 63) / 64;
    thread_local std::vector<std::uint64_t> done;
    if (done.size() < words * std::size_t(h)) done.assign(words * std::size_t(h), 0);
    struct ClearMarked {
        std::vector<std::uint64_t>& bits;
        std::size_t words;
        int top, bottom; // rows top..bottom-1 hold marks
        int left, right; // in columns left..right-1
        DrawingContext& dc;
        ~ClearMarked() {
            // What was marked is what was painted.
            dc.inked(left, top, right, bottom);
            if (bottom <= top || right <= left) return;
            const std::size_t first = std::size_t(left) / 64;
            const std::size_t count = (std::size_t(right) + 63) / 64 - first;
            for (int row = top; row < bottom; ++row)
                std::memset(bits.data() + std::size_t(row) * words + first, 0,
                            count * sizeof(std::uint64_t));
        }
    } marked{done, words, y, y, x, x, *this};
    const auto isDone = [&](int px, int py) {
        return (done[std::size_t(py) * words + std::size_t(px) / 64] >> (px & 63)) & 1u;
    };
    const auto markRun = [&](int py, int x0, int x1) { // [x0, x1)
        std::uint64_t* bits = done.data() + std::size_t(py) * words;
        marked.top = std::min(marked.top, py);
        marked.bottom = std::max(marked.bottom, py + 1);
        marked.left = std::min(marked.left, x0);
        marked.right = std::max(marked.right, x1);
        for (int a = x0; a < x1;) {
            const int bit = a & 63;
            const int count = std::min(64 - bit, x1 - a);
            bits[a / 64] |=
                count == 64 ? ~std::uint64_t(0) : ((std::uint64_t(1) << count) - 1) << bit;
            a += count;
        }
    };
    // A run is a filled stretch of a row between two border pixels (or the canvas's edges),
    // with the run of the row it was found from, [pl, pr) of row parentY: the parent's row
    // needs looking at again only beyond the parent's run.
    struct Run {
        int y, l, r, parentY, pl, pr;
    };
    // The runs still to be looked round, in the order they were found: the runs of a row,
    // then those of the next, so that the fill sweeps through the memory row after row as a
    // plain pass does, rather than up and down the canvas. Kept between fills: most fills of
    // a game are small.
    thread_local std::vector<Run> queue;
    queue.clear();
    std::size_t next = 0;
    // Each run is painted the moment it is found, while the scan that found it has its pixels
    // at hand: every pixel of the region is read once and written once, as in a plain pass
    // over the memory, and no row is read again to be painted later.
    {
        std::uint32_t* row = c.row(y);
        const int l = paintBackTo(row, x, stop, paint);
        const int r = paintUntil(row, x, w, stop, paint);
        markRun(y, l, r);
        queue.push_back({y, l, r, y, l, l});
    }
    // Paints and records every unfilled run of row ny that touches columns [a, b) of the
    // run s.
    const auto visitRow = [&](int ny, int a, int b, const Run& s) {
        std::uint32_t* nrow = c.row(ny);
        int px = findFirst(nrow, a, b, stop, false);
        while (px < b) {
            int end;
            if (isDone(px, ny)) {
                end = findFirst(nrow, px + 1, b, stop, true);
            } else {
                const int l = paintBackTo(nrow, px, stop, paint);
                end = paintUntil(nrow, px, w, stop, paint);
                markRun(ny, l, end);
                queue.push_back({ny, l, end, s.y, s.l, s.r});
            }
            px = findFirst(nrow, end, b, stop, false);
        }
    };
    // The row the sweep will come to next is asked of the memory whole, across the columns
    // painted so far, as the sweep reaches each row: its stretches, and the gaps between them
    // (the shape in the middle of a board's rows), then come in one stream and not a stretch
    // at a time. On a large canvas that takes about a fifth off the fill.
    int askedRow = -1;
    const auto askAhead = [&](const Run& s) {
        const int ahead = s.y >= s.parentY ? s.y + 1 : s.y - 1;
        if (ahead == askedRow || ahead < 0 || ahead >= h) return;
        askedRow = ahead;
        const std::uint32_t* row = c.row(ahead);
        constexpr int kLine = 64 / sizeof(std::uint32_t);
        for (int px = marked.left; px < marked.right; px += kLine)
            __builtin_prefetch(row + px);
    };
    while (next < queue.size()) {
        // The runs looked round are dropped once they are most of the queue: it holds about
        // the fill's front, not every run of the region.
        if (next >= 4096 && next * 2 >= queue.size()) {
            queue.erase(queue.begin(), queue.begin() + std::ptrdiff_t(next));
            next = 0;
        }
        const Run s = queue[next++];
        askAhead(s);
        for (int ny : {s.y - 1, s.y + 1}) {
            if (ny < 0 || ny >= h) continue;
            if (s.parentY != s.y && ny == s.parentY) {
                // Only where this run reaches past its parent's run.
                if (s.l < s.pl) visitRow(ny, s.l, std::min(s.pl, s.r), s);
                if (s.r > s.pr) visitRow(ny, std::max(s.pr, s.l), s.r, s);
            } else {
                visitRow(ny, s.l, s.r, s);
            }
        }
    }
    return true;
}

void DrawingContext::floodFillAll(std::span<const Seed> seeds, Colour border, const Rect& within) {
    if (seeds.empty()) return;
    Canvas& c = *canvas_;
    const std::uint32_t stop = border.argb;
    const Rect box = clippedTo(c, within.left, within.top, within.right, within.bottom);
    // A brush of the border's colour would make its region a border for the fills after it:
    // then, or with nothing to look in, the fills are made one after another.
    const bool together =
        !isEmpty(box) && std::none_of(seeds.begin(), seeds.end(), [&](const Seed& s) {
            return s.brush.made && s.brush.colour.argb == stop;
        });
    if (!together) {
        for (const Seed& s : seeds) {
            brush_ = s.brush;
            floodFill(s.at.x, s.at.y, border);
        }
        return;
    }

    // The stretches of each row of the box between border pixels, row after row. Stretches of
    // neighbouring rows that share a column are one region: they are joined in a forest whose
    // every link points to an earlier stretch, so that the first stretch of a region stands
    // for it.
    struct Stretch {
        int l, r; // columns l..r-1
    };
    thread_local std::vector<Stretch> stretches;
    thread_local std::vector<int> up;       // the link of each stretch; a region's own is itself
    thread_local std::vector<int> rowStart; // the first stretch of each row, and the end
    thread_local std::vector<std::uint64_t> marks; // a row's border pixels
    stretches.clear();
    up.clear();
    const int rows = box.bottom - box.top;
    rowStart.assign(std::size_t(rows) + 1, 0);
    const auto top = [&](int i) {
        while (up[std::size_t(i)] != i) {
            up[std::size_t(i)] = up[std::size_t(up[std::size_t(i)])];
            i = up[std::size_t(i)];
        }
        return i;
    };
    for (int y = box.top; y < box.bottom; ++y) {
        const std::uint32_t* row = c.row(y);
        const int first = int(stretches.size());
        rowStart[std::size_t(y - box.top)] = first;
        // The stretches between the set bits of the row's border marks.
        markColour(row, box.left, box.right, stop, marks);
        const int n = box.right - box.left;
        for (int i = 0;;) {
            std::size_t word = std::size_t(i) / 64;
            std::uint64_t open = ~marks[word] & (~std::uint64_t(0) << (i & 63));
            while (!open && ++word < marks.size())
                open = ~marks[word];
            if (!open) break;
            const int l = int(word * 64) + std::countr_zero(open);
            if (l >= n) break;
            std::uint64_t shut = marks[word] & (~std::uint64_t(0) << (l & 63));
            while (!shut)
                shut = marks[++word];
            i = int(word * 64) + std::countr_zero(shut);
            up.push_back(int(stretches.size()));
            stretches.push_back({box.left + l, box.left + i});
        }
        if (y == box.top) continue;
        // Join each stretch to those above it that share a column with it.
        int above = rowStart[std::size_t(y - 1 - box.top)];
        for (int i = first; i < int(stretches.size()); ++i) {
            const Stretch s = stretches[std::size_t(i)];
            while (above < first && stretches[std::size_t(above)].r <= s.l)
                ++above;
            for (int k = above; k < first && stretches[std::size_t(k)].l < s.r; ++k) {
                const int a = top(i), b = top(k);
                if (a < b) up[std::size_t(b)] = a;
                if (b < a) up[std::size_t(a)] = b;
            }
        }
    }
    rowStart[std::size_t(rows)] = int(stretches.size());

    // Each stretch linked straight to its region's first, and the regions that reach the box's
    // edge where the canvas goes on: they may go on outside it too.
    enum : std::uint8_t { kUntouched, kPainted, kBeyond };
    thread_local std::vector<std::uint8_t> fate;
    thread_local std::vector<std::uint32_t> ink;
    fate.assign(stretches.size(), kUntouched);
    ink.resize(stretches.size());
    for (int y = box.top; y < box.bottom; ++y) {
        const bool edgeRow =
            (y == box.top && box.top > 0) || (y == box.bottom - 1 && box.bottom < c.height());
        for (int i = rowStart[std::size_t(y - box.top)]; i < rowStart[std::size_t(y - box.top + 1)];
             ++i) {
            up[std::size_t(i)] = up[std::size_t(up[std::size_t(i)])];
            const Stretch s = stretches[std::size_t(i)];
            if (edgeRow || (s.l == box.left && box.left > 0) ||
                (s.r == box.right && box.right < c.width()))
                fate[std::size_t(up[std::size_t(i)])] = kBeyond;
        }
    }

    // The seeds in turn: the last in a region gives it its colour. A seed on the border, or in
    // a region with an unmade brush, paints nothing there; a seed outside the box or in a
    // region that may leave it is filled on its own, in turn with the others of its kind.
    thread_local std::vector<std::size_t> alone;
    alone.clear();
    for (std::size_t n = 0; n < seeds.size(); ++n) {
        const Seed& s = seeds[n];
        const int x = s.at.x, y = s.at.y;
        if (!s.brush.made || !c.contains(x, y) || c.row(y)[x] == stop) continue;
        if (x < box.left || x >= box.right || y < box.top || y >= box.bottom) {
            alone.push_back(n);
            continue;
        }
        const auto first = stretches.begin() + rowStart[std::size_t(y - box.top)];
        const auto last = stretches.begin() + rowStart[std::size_t(y - box.top + 1)];
        const auto holder =
            std::upper_bound(first, last, x, [](int px, const Stretch& t) { return px < t.l; }) - 1;
        const std::size_t region = std::size_t(up[std::size_t(holder - stretches.begin())]);
        if (fate[region] == kBeyond) {
            alone.push_back(n);
        } else {
            fate[region] = kPainted;
            ink[region] = s.brush.colour.argb;
        }
    }

    bool painted = false;
    for (int y = box.top; y < box.bottom; ++y) {
        std::uint32_t* row = c.row(y);
        for (int i = rowStart[std::size_t(y - box.top)]; i < rowStart[std::size_t(y - box.top + 1)];
             ++i) {
            const std::size_t region = std::size_t(up[std::size_t(i)]);
            if (fate[region] != kPainted) continue;
            const Stretch s = stretches[std::size_t(i)];
            fillRun(row + s.l, std::size_t(s.r - s.l), ink[region]);
            painted = true;
        }
    }
    if (painted) inked(box.left, box.top, box.right, box.bottom);

    for (std::size_t n : alone) {
        brush_ = seeds[n].brush;
        floodFill(seeds[n].at.x, seeds[n].at.y, border);
    }
    brush_ = seeds.back().brush;
}

void DrawingContext::blit(int x, int y, const Canvas& picture) {
    Canvas& c = *canvas_;
    const i64 x0 = std::max<i64>(x, 0);
    const i64 x1 = std::min<i64>(i64(x) + picture.width(), c.width());
    const i64 y0 = std::max<i64>(y, 0);
    const i64 y1 = std::min<i64>(i64(y) + picture.height(), c.height());
    if (x1 <= x0 || y1 <= y0) return;
    inked(x0, y0, x1, y1);
    for (i64 yy = y0; yy < y1; ++yy) {
        const std::uint32_t* src = picture.row(int(yy - y)) + (x0 - x);
        std::memcpy(c.row(int(yy)) + x0, src, std::size_t(x1 - x0) * sizeof(std::uint32_t));
    }
}

} // namespace tess
