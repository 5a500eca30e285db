// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// Reading wave images: the game's own, and images that are damaged or of another format.
#include "sound/WaveImage.h"
#include "sound/SoundBank.h"

#include <gtest/gtest.h>

using namespace tess;

namespace {

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(Bytes& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}
void tag(Bytes& b, const char* t) {
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<std::uint8_t>(t[i]));
}

struct Format {
    std::uint32_t format = 1, channels = 1, rate = 22050, blockAlign = 1, bits = 8;
};

Bytes fmtChunk(const Format& f) {
    Bytes b;
    tag(b, "fmt ");
    put32(b, 16);
    put16(b, f.format);
    put16(b, f.channels);
    put32(b, f.rate);
    put32(b, f.rate * f.blockAlign);
    put16(b, f.blockAlign);
    put16(b, f.bits);
    return b;
}

Bytes chunk(const char* id, const Bytes& body) {
    Bytes b;
    tag(b, id);
    put32(b, static_cast<std::uint32_t>(body.size()));
    b.insert(b.end(), body.begin(), body.end());
    if (body.size() & 1) b.push_back(0);
    return b;
}

Bytes riff(const std::vector<Bytes>& chunks) {
    Bytes body;
    tag(body, "WAVE");
    for (const Bytes& c : chunks)
        body.insert(body.end(), c.begin(), c.end());
    Bytes b;
    tag(b, "RIFF");
    put32(b, static_cast<std::uint32_t>(body.size()));
    b.insert(b.end(), body.begin(), body.end());
    return b;
}

bool decodes(const Bytes& image) {
    std::vector<std::int16_t> s;
    return decodeWave(image.data(), image.size(), 22050, s);
}

} // namespace

TEST(WaveImage, ReadsBothSampleSizesAndSkipsOtherChunks) {
    std::vector<std::int16_t> s;
    Bytes eight = riff({fmtChunk({}), chunk("LIST", {1, 2, 3}), chunk("data", {0, 128, 255})});
    ASSERT_TRUE(decodeWave(eight.data(), eight.size(), 22050, s));
    EXPECT_EQ(s, (std::vector<std::int16_t>{-32768, 0, 32512}));

    Format f16;
    f16.blockAlign = 2;
    f16.bits = 16;
    Bytes sixteen = riff({fmtChunk(f16), chunk("data", {0x01, 0x80, 0xFF, 0x7F})});
    ASSERT_TRUE(decodeWave(sixteen.data(), sixteen.size(), 22050, s));
    EXPECT_EQ(s, (std::vector<std::int16_t>{-32767, 32767}));

    for (int r = kFirstSound; r <= kLastSound; ++r) {
        const Bytes& image = *findSound(r);
        EXPECT_TRUE(decodeWave(image.data(), image.size(), 22050, s)) << r;
        EXPECT_FALSE(s.empty() && r != 118) << r;
    }
}

TEST(WaveImage, RefusesOtherFormats) {
    Format stereo;
    stereo.channels = 2;
    stereo.blockAlign = 2;
    Format fast;
    fast.rate = 44100;
    Format floating;
    floating.format = 3;
    floating.bits = 32;
    floating.blockAlign = 4;
    Format wide;
    wide.bits = 24;
    wide.blockAlign = 3;
    Format mismatched;
    mismatched.bits = 16;
    for (const Format& f : {stereo, fast, floating, wide, mismatched})
        EXPECT_FALSE(decodes(riff({fmtChunk(f), chunk("data", {1, 2, 3, 4})})));
    // Samples with no format before them.
    EXPECT_FALSE(decodes(riff({chunk("data", {1, 2}), fmtChunk({})})));
    EXPECT_FALSE(decodes(riff({fmtChunk({})})));
    Bytes notWave = riff({fmtChunk({}), chunk("data", {1})});
    notWave[8] = 'A';
    EXPECT_FALSE(decodes(notWave));
    std::vector<std::int16_t> s;
    EXPECT_FALSE(decodeWave(nullptr, 100, 22050, s));
}

TEST(WaveImage, NeverReadsPastADamagedImage) {
    // Every cut of a real image, each in a buffer of exactly its size, so that the address
    // sanitizer sees any read beyond it.
    const Bytes& image = *findSound(104);
    std::vector<std::int16_t> s;
    for (std::size_t n = 0; n < image.size(); ++n) {
        Bytes cut(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(n));
        // Only the pad byte behind the odd-sized samples may go missing.
        EXPECT_EQ(decodeWave(cut.data(), cut.size(), 22050, s), n + 1 == image.size()) << n;
    }
    // Chunk sizes that run past the end, up to the largest a chunk can claim.
    for (std::uint32_t claim : {0xFFFFFFFFu, 0xFFFFFFF8u, 0x80000000u, 1000u}) {
        Bytes bad = riff({fmtChunk({}), chunk("data", {1, 2, 3, 4})});
        bad[bad.size() - 8] = static_cast<std::uint8_t>(claim);
        bad[bad.size() - 7] = static_cast<std::uint8_t>(claim >> 8);
        bad[bad.size() - 6] = static_cast<std::uint8_t>(claim >> 16);
        bad[bad.size() - 5] = static_cast<std::uint8_t>(claim >> 24);
        EXPECT_FALSE(decodes(bad)) << claim;
        Bytes badFmt = riff({fmtChunk({}), chunk("data", {1, 2})});
        badFmt[16] = static_cast<std::uint8_t>(claim);
        badFmt[19] = static_cast<std::uint8_t>(claim >> 24);
        EXPECT_FALSE(decodes(badFmt)) << claim;
    }
    // A format chunk too short to hold a format.
    Bytes shortFmt = riff({chunk("fmt ", {1, 0, 1, 0}), chunk("data", {1})});
    EXPECT_FALSE(decodes(shortFmt));
}
