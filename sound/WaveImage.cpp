// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

#include "sound/WaveImage.h"

#include <cstring>

namespace tess {

namespace {

std::uint32_t u16(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8;
}

std::uint32_t u32(const std::uint8_t* p) {
    return u16(p) | u16(p + 2) << 16;
}

bool tagIs(const std::uint8_t* p, const char* tag) {
    return std::memcmp(p, tag, 4) == 0;
}

} // namespace

bool decodeWave(const std::uint8_t* wave, std::size_t size, int sampleRate,
                std::vector<std::int16_t>& samples) {
    samples.clear();
    if (!wave || size < 12 || !tagIs(wave, "RIFF") || !tagIs(wave + 8, "WAVE")) return false;
    // The RIFF chunk may claim less than the image holds; it never makes us read more.
    std::size_t end = size;
    const std::size_t riffEnd = static_cast<std::size_t>(u32(wave + 4)) + 8;
    if (riffEnd < end) end = riffEnd;

    bool haveFormat = false;
    std::uint32_t bits = 0;
    const std::uint8_t* data = nullptr;
    std::size_t dataSize = 0;
    std::size_t pos = 12;
    while (end - pos >= 8) {
        const std::uint8_t* chunk = wave + pos;
        const std::size_t chunkSize = u32(chunk + 4);
        if (chunkSize > end - pos - 8) return false; // runs past the image
        const std::uint8_t* body = chunk + 8;
        if (tagIs(chunk, "fmt ")) {
            if (chunkSize < 16) return false;
            const std::uint32_t format = u16(body), channels = u16(body + 2);
            const std::uint32_t rate = u32(body + 4), blockAlign = u16(body + 12);
            bits = u16(body + 14);
            if (format != 1 || channels != 1 || rate != static_cast<std::uint32_t>(sampleRate))
                return false;
            if (!((bits == 8 && blockAlign == 1) || (bits == 16 && blockAlign == 2))) return false;
            haveFormat = true;
        } else if (tagIs(chunk, "data")) {
            data = body;
            dataSize = chunkSize;
            break;
        }
        pos += 8 + chunkSize + (chunkSize & 1u);
        if (pos > end) break;
    }
    // The format must come before the samples it describes.
    if (!haveFormat || !data) return false;

    if (bits == 8) {
        samples.resize(dataSize);
        for (std::size_t i = 0; i < dataSize; ++i)
            samples[i] = static_cast<std::int16_t>((static_cast<int>(data[i]) - 128) * 256);
    } else {
        samples.resize(dataSize / 2);
        for (std::size_t i = 0; i < samples.size(); ++i)
            samples[i] = static_cast<std::int16_t>(u16(data + 2 * i));
    }
    return true;
}

} // namespace tess
