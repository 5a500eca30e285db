// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The 45 sounds as a sound player reads them: their headers, lengths, pitches, levels, and
// the note slots through which the game names them.
#include "sound/SoundBank.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <numbers>
#include <set>
#include <string>
#include <thread>

using namespace tess;

namespace {

std::uint32_t le16(const std::uint8_t* p) {
    return p[0] | static_cast<std::uint32_t>(p[1]) << 8;
}
std::uint32_t le32(const std::uint8_t* p) {
    return le16(p) | le16(p + 2) << 16;
}

struct Wave {
    std::uint32_t format = 0, channels = 0, rate = 0, byteRate = 0, blockAlign = 0, bits = 0;
    std::uint32_t factSamples = 0;
    bool hasFact = false;
    std::vector<double> samples; // -1 .. 1
};

// Reads a wave image chunk by chunk, checking the RIFF frame on the way.
Wave parse(const std::vector<std::uint8_t>& image) {
    Wave w;
    EXPECT_GE(image.size(), 12u);
    EXPECT_EQ(std::memcmp(image.data(), "RIFF", 4), 0);
    EXPECT_EQ(le32(image.data() + 4), image.size() - 8);
    EXPECT_EQ(std::memcmp(image.data() + 8, "WAVE", 4), 0);
    std::size_t pos = 12;
    while (pos + 8 <= image.size()) {
        const std::uint8_t* c = image.data() + pos;
        std::uint32_t size = le32(c + 4);
        EXPECT_LE(pos + 8 + size, image.size());
        std::string id(reinterpret_cast<const char*>(c), 4);
        if (id == "fmt ") {
            w.format = le16(c + 8);
            w.channels = le16(c + 10);
            w.rate = le32(c + 12);
            w.byteRate = le32(c + 16);
            w.blockAlign = le16(c + 20);
            w.bits = le16(c + 22);
        } else if (id == "fact") {
            w.hasFact = true;
            w.factSamples = le32(c + 8);
        } else if (id == "data") {
            for (std::uint32_t i = 0; i < size; i += w.blockAlign) {
                if (w.bits == 8) {
                    w.samples.push_back((c[8 + i] - 128) / 127.0);
                } else {
                    auto s = static_cast<std::int16_t>(le16(c + 8 + i));
                    w.samples.push_back(s / 32767.0);
                }
            }
        }
        pos += 8 + size + (size & 1u);
    }
    EXPECT_EQ(pos, image.size());
    return w;
}

const Wave& wave(int resource) {
    static std::map<int, Wave> cache;
    auto it = cache.find(resource);
    if (it == cache.end()) it = cache.emplace(resource, parse(*findSound(resource))).first;
    return it->second;
}

// Pitch from the rising zero crossings, interpolated between samples.
double measuredPitch(const std::vector<double>& s) {
    double first = -1, last = -1;
    int crossings = 0;
    for (std::size_t i = 100; i + 100 < s.size(); ++i) {
        if (s[i - 1] < 0 && s[i] >= 0) {
            double t = static_cast<double>(i - 1) + s[i - 1] / (s[i - 1] - s[i]);
            if (first < 0) first = t;
            last = t;
            ++crossings;
        }
    }
    return (crossings - 1) * 22050.0 / (last - first);
}

double peak(const std::vector<double>& s, std::size_t from, std::size_t to) {
    double p = 0;
    for (std::size_t i = from; i < to; ++i)
        p = std::max(p, std::abs(s[i]));
    return p;
}

double cents(double f, double g) {
    return 1200.0 * std::log2(f / g);
}

double equalTempered(const std::string& name) {
    static const std::map<char, int> semis = {{'C', 0}, {'D', 2}, {'E', 4}, {'F', 5},
                                              {'G', 7}, {'A', 9}, {'B', 11}};
    int semi = semis.at(name[0]);
    std::size_t i = 1;
    if (name[1] == '#') {
        ++semi;
        ++i;
    }
    int octave = name[i] - '0';
    int midi = 12 * (octave + 1) + semi;
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

struct Expected {
    int resource;
    const char* note;
    int minSamples, maxSamples;
};

std::vector<Expected> expectedNotes() {
    std::vector<Expected> e;
    const char* naturals[] = {"C6", "B5", "A5", "G5", "F5", "E5", "D5", "C5",
                              "B4", "A4", "G4", "F4", "E4", "D4", "C4", "B3"};
    const char* lower[] = {"C5", "B4", "A4", "G4", "F4", "E4", "D4", "C4",
                           "B3", "A3", "G3", "F3", "E3", "D3", "C3", "B2"};
    const char* sharps[] = {"A#5", "G#5", "F#5", "D#5", "C#5", "A#4", "G#4", "F#4", "D#4", "C#4"};
    for (int i = 0; i < 16; ++i) {
        if (i == 0) {
            e.push_back({102, naturals[0], 2254, 2254});
            e.push_back({119, lower[0], 4508, 4508});
        } else {
            e.push_back({102 + i, naturals[i], 2380, 2413});
            e.push_back({119 + i, lower[i], 4760, 4826});
        }
    }
    e.push_back({135, sharps[0], 2751, 2751});
    for (int i = 1; i < 10; ++i)
        e.push_back({135 + i, sharps[i], 2284, 2528});
    e.push_back({145, "G#3", 4764, 4764});
    return e;
}

} // namespace

TEST(SoundBank, EveryResourceIsAMonoPcmWaveWithFormatFactAndData) {
    for (int r = kFirstSound; r <= kLastSound; ++r) {
        SCOPED_TRACE(r);
        ASSERT_NE(findSound(r), nullptr);
        const Wave& w = wave(r);
        EXPECT_EQ(w.format, 1u);
        EXPECT_EQ(w.channels, 1u);
        EXPECT_EQ(w.rate, 22050u);
        const std::uint32_t bits = r == 101 ? 16u : 8u;
        EXPECT_EQ(w.bits, bits);
        EXPECT_EQ(w.blockAlign, bits / 8);
        EXPECT_EQ(w.byteRate, 22050u * bits / 8);
        EXPECT_TRUE(w.hasFact);
        EXPECT_EQ(w.factSamples, w.samples.size());
    }
    EXPECT_EQ(findSound(100), nullptr);
    EXPECT_EQ(findSound(146), nullptr);
    EXPECT_EQ(findSound(0), nullptr);
    EXPECT_EQ(findSound(-101), nullptr);
}

TEST(SoundBank, ImagesAreMadeOnceAndShared) {
    const std::vector<std::uint8_t>* seen[4] = {};
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i)
        threads.emplace_back([&seen, i] { seen[i] = findSound(120); });
    for (auto& t : threads)
        t.join();
    for (auto* p : seen)
        EXPECT_EQ(p, findSound(120));
    EXPECT_EQ(*findSound(120), *findSound(120));
}

TEST(SoundBank, NotesHaveTheirLengthPitchAndFade) {
    for (const Expected& e : expectedNotes()) {
        SCOPED_TRACE(e.resource);
        const std::vector<double>& s = wave(e.resource).samples;
        EXPECT_GE(static_cast<int>(s.size()), e.minSamples);
        EXPECT_LE(static_cast<int>(s.size()), e.maxSamples);
        EXPECT_NEAR(cents(measuredPitch(s), equalTempered(e.note)), 0.0, 5.0) << e.note;

        // Full scale at the start, a third to four fifths of that just before the end.
        const std::size_t n = s.size();
        const double start = peak(s, 0, 220);
        const double end = peak(s, n - 400, n - 100);
        EXPECT_GT(start, 0.95) << e.note;
        EXPECT_GE(end / start, 1.0 / 3.0) << e.note;
        EXPECT_LE(end / start, 0.8) << e.note;

        // No click at either end: the note rises from and falls back to silence.
        EXPECT_LE(std::abs(s.front()), 0.02);
        EXPECT_LE(std::abs(s.back()), 0.02);
        for (std::size_t i = 1; i < 8; ++i) {
            EXPECT_LE(std::abs(s[i] - s[i - 1]), 0.1);
            EXPECT_LE(std::abs(s[n - i] - s[n - i - 1]), 0.1);
        }
    }
}

// The E key's note belongs to the run of sharps an octave below A#6, as loud as the rest.
TEST(SoundBank, TheEKeysNoteIsASharpFiveAtFullLevel) {
    const std::vector<double>& s = wave(135).samples;
    EXPECT_NEAR(measuredPitch(s), 932.33, 3.0);
    EXPECT_NEAR(peak(s, 0, 220), peak(wave(136).samples, 0, 220), 0.03);
}

TEST(SoundBank, SilenceIsSilent) {
    const std::vector<double>& s = wave(118).samples;
    EXPECT_EQ(s.size(), 641u);
    EXPECT_EQ(peak(s, 0, s.size()), 0.0);
}

TEST(SoundBank, ErrorSoundBuzzesAroundFiveHundredHertzAndPulses) {
    const std::vector<double>& s = wave(101).samples;
    ASSERT_EQ(s.size(), 5513u);
    EXPECT_GT(peak(s, 0, s.size()), 0.5);
    EXPECT_LE(std::abs(s.front()), 0.02);
    EXPECT_LE(std::abs(s.back()), 0.02);

    // Most of the energy lies between 490 and 550 Hz.
    const std::size_t n = s.size();
    double inBand = 0, total = 0;
    for (std::size_t k = 1; k < n / 2; ++k) {
        double re = 0, im = 0;
        const double w = 2 * std::numbers::pi * static_cast<double>(k) / static_cast<double>(n);
        for (std::size_t i = 0; i < n; ++i) {
            re += s[i] * std::cos(w * static_cast<double>(i));
            im -= s[i] * std::sin(w * static_cast<double>(i));
        }
        const double energy = re * re + im * im;
        const double f = static_cast<double>(k) * 22050.0 / static_cast<double>(n);
        total += energy;
        if (f >= 490 && f <= 550) inBand += energy;
    }
    EXPECT_GT(inBand / total, 0.6);

    // Its level pulses: loud and quiet stretches alternate all through it.
    std::vector<double> levels;
    for (std::size_t from = 500; from + 110 < n - 500; from += 110)
        levels.push_back(peak(s, from, from + 110));
    int swings = 0;
    for (std::size_t i = 2; i < levels.size(); ++i)
        if ((levels[i - 1] - levels[i - 2]) * (levels[i] - levels[i - 1]) < 0) ++swings;
    EXPECT_GE(swings, 6);
    EXPECT_GT(*std::max_element(levels.begin(), levels.end()),
              3 * *std::min_element(levels.begin(), levels.end()));
}

TEST(SoundBank, NoteSlotsNameTheirResources) {
    int slots[100];
    std::fill(std::begin(slots), std::end(slots), -1);
    fillNoteResource(slots);
    std::set<int> filled;
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(slots[i], 102 + i);
    for (int i = 16; i < 32; ++i)
        EXPECT_EQ(slots[i], 103 + i);
    for (int i = 32; i < 42; ++i)
        EXPECT_EQ(slots[i], 103 + i);
    EXPECT_EQ(slots[48], 145);
    EXPECT_EQ(slots[99], 118);
    for (int i = 42; i < 99; ++i)
        if (i != 48) {
            EXPECT_EQ(slots[i], 0) << i;
        }
    // Slot 15 is B3, slot 31 an octave lower: the long run mirrors the short one.
    EXPECT_NEAR(
        cents(measuredPitch(wave(slots[15]).samples), measuredPitch(wave(slots[31]).samples)),
        1200.0, 2.0);
}
