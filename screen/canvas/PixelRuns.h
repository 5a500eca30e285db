// Runs of pixels of one colour, written as fast as the memory takes them: the canvas's
// rectangles, lines and fills and the fonts' glyphs all paint in runs.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tess {

// Paints count pixels from p in one colour; the caller has clipped them to the canvas.
// Four pixels a store: a scalar loop of single pixels is slower than the memory itself on
// the rows of a large window.
inline void fillRun(std::uint32_t* p, std::size_t count, std::uint32_t argb) {
    // A long run of a colour whose four bytes are alike (white above all, the colour of both
    // pages) is one memset, which is as fast as the memory.
    if (count >= 64 && (argb & 0xFF) * 0x01010101u == argb) {
        std::memset(p, int(argb & 0xFF), count * sizeof *p);
        return;
    }
    std::uint32_t* const end = p + count;
#if defined(__SSE2__)
    if (count >= 4) {
        const __m128i four = _mm_set1_epi32(int(argb));
        for (; end - p > 4; p += 4)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p), four);
        // The last four pixels in one store, over some already painted where the run is no
        // multiple of four.
        _mm_storeu_si128(reinterpret_cast<__m128i*>(end - 4), four);
        return;
    }
#endif
    std::fill(p, end, argb);
}

} // namespace tess
