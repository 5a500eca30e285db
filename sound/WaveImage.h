// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// Reading a RIFF WAVE image from memory, as the sound device plays it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tess {

// Decodes a PCM, one-channel wave image of the given sample rate, with 8-bit unsigned or
// 16-bit signed samples, into 16-bit samples. Returns false, leaving samples empty, for an
// image that is not such a wave: a bad header, another format, a chunk that runs past the
// image's size. Never reads outside wave[0, size).
bool decodeWave(const std::uint8_t* wave, std::size_t size, int sampleRate,
                std::vector<std::int16_t>& samples);

} // namespace tess
