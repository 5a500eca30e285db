// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The game's sounds, made by the program itself: a buzzing error chime and the notes of the
// letter keys and the tunes, each a complete RIFF WAVE image (PCM, mono, 22050 samples per
// second) with its format, fact and data chunks, as a sound player expects to find in a file.
#include "sound/SoundBank.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace tess {

namespace {

constexpr int kSampleRate = 22050;
constexpr int kSilenceSound = 118;

// Equal-tempered pitch of a note given by its MIDI number (A4 = 69 = 440 Hz).
double pitchOf(int midi) {
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

constexpr int C2 = 36; // MIDI numbers are counted from here: C3 = C2 + 12, and so on.
constexpr int note(int octave, int semitone) {
    return C2 + (octave - 2) * 12 + semitone;
}
// Semitones above C.
constexpr int kC = 0, kCs = 1, kDs = 3, kD = 2, kE = 4, kF = 5, kFs = 6, kG = 7, kGs = 8, kA = 9,
              kAs = 10, kB = 11;

struct NoteSound {
    int resource;
    int midi;
    int samples;
};

// The naturals, falling from C6 to B3: sounds 102 to 117, and an octave lower and about twice
// as long, sounds 119 to 134. Each run's first note, a C, is a little shorter than the others.
constexpr int kNaturals[16] = {note(6, kC), note(5, kB), note(5, kA), note(5, kG),
                               note(5, kF), note(5, kE), note(5, kD), note(5, kC),
                               note(4, kB), note(4, kA), note(4, kG), note(4, kF),
                               note(4, kE), note(4, kD), note(4, kC), note(3, kB)};
constexpr int kShortNaturals = 102, kLongNaturals = 119;

// The sharps with their resource numbers and lengths in samples, and one long G#3.
constexpr std::array<NoteSound, 11> kNotes = {{
    // 135 is the A#5 of the run of sharps, the E key's note, at the level of the others.
    {135, note(5, kAs), 2751},
    {136, note(5, kGs), 2293},
    {137, note(5, kFs), 2332},
    {138, note(5, kDs), 2376},
    {139, note(5, kCs), 2417},
    {140, note(4, kAs), 2284},
    {141, note(4, kGs), 2431},
    {142, note(4, kFs), 2474},
    {143, note(4, kDs), 2528},
    {144, note(4, kCs), 2480},

    {145, note(3, kGs), 4764},
}};

constexpr int kErrorSamples = 5513;
constexpr int kSilenceSamples = 641;

// Every note fades by this much per second: a short note ends at about two thirds of its
// starting level, a long one at about half.
constexpr double kDecayPerSecond = 3.5;
// Short ramps at both ends so that no note starts or stops with a click.
constexpr int kAttackSamples = 32;
constexpr int kReleaseSamples = 64;

// The edges of a sound: 0 at the very first and last sample, 1 away from the ends.
double edgeGain(int i, int count) {
    double gain = 1.0;
    if (i < kAttackSamples) gain = 0.5 - 0.5 * std::cos(std::numbers::pi * i / kAttackSamples);
    int fromEnd = count - 1 - i;
    if (fromEnd < kReleaseSamples)
        gain = std::min(gain, 0.5 - 0.5 * std::cos(std::numbers::pi * fromEnd / kReleaseSamples));
    return gain;
}

// A note's tone: the fundamental with a little of its second and third harmonics. The
// waveform crosses zero only twice a period, so the pitch is plain to hear and to measure.
double toneShape(double phase) {
    return std::sin(phase) + 0.2 * std::sin(2 * phase) + 0.1 * std::sin(3 * phase);
}

double toneShapePeak() {
    static const double peak = [] {
        double best = 0;
        for (int i = 0; i < 100000; ++i)
            best = std::max(best, std::abs(toneShape(2 * std::numbers::pi * i / 100000)));
        return best;
    }();
    return peak;
}

void putU16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void putU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    putU16(out, v & 0xFFFF);
    putU16(out, v >> 16);
}

void putTag(std::vector<std::uint8_t>& out, const char (&tag)[5]) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(tag[i]));
}

// A complete RIFF WAVE image around the given sample bytes.
std::vector<std::uint8_t> waveImage(const std::vector<std::uint8_t>& data, int bitsPerSample) {
    const auto blockAlign = static_cast<std::uint32_t>(bitsPerSample / 8);
    const auto dataSize = static_cast<std::uint32_t>(data.size());
    const std::uint32_t pad = dataSize & 1u; // chunks start on even offsets
    std::vector<std::uint8_t> out;
    out.reserve(58 + data.size());
    putTag(out, "RIFF");
    putU32(out, 4 + (8 + 16) + (8 + 4) + (8 + dataSize + pad));
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    putU32(out, 16);
    putU16(out, 1); // PCM
    putU16(out, 1); // one channel
    putU32(out, kSampleRate);
    putU32(out, kSampleRate * blockAlign);
    putU16(out, blockAlign);
    putU16(out, static_cast<std::uint32_t>(bitsPerSample));
    putTag(out, "fact");
    putU32(out, 4);
    putU32(out, dataSize / blockAlign);
    putTag(out, "data");
    putU32(out, dataSize);
    out.insert(out.end(), data.begin(), data.end());
    if (pad) out.push_back(0);
    return out;
}

// An 8-bit sample: 128 is silence, and -1 to 1 map to 1 to 255.
std::uint8_t unsigned8(double v) {
    return static_cast<std::uint8_t>(std::lround(128.0 + 127.0 * std::clamp(v, -1.0, 1.0)));
}

std::vector<std::uint8_t> makeNote(double frequency, int count) {
    std::vector<std::uint8_t> data(static_cast<std::size_t>(count));
    const double scale = 1.0 / toneShapePeak();
    for (int i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / kSampleRate;
        double level = std::exp(-kDecayPerSecond * t) * edgeGain(i, count);
        data[static_cast<std::size_t>(i)] =
            unsigned8(level * scale * toneShape(2 * std::numbers::pi * frequency * t));
    }
    return waveImage(data, 8);
}

// The error sound: three close partials around 520 Hz that beat against each other into a
// buzz, their level pulsing twelve times a second and dying away like a struck chime.
std::vector<std::uint8_t> makeErrorSound() {
    constexpr double partials[] = {500.0, 520.0, 540.0};
    constexpr double kPulseRate = 12.0;
    constexpr double kPeak = 0.8 * 32767.0;
    std::vector<std::uint8_t> data;
    data.reserve(2 * kErrorSamples);
    for (int i = 0; i < kErrorSamples; ++i) {
        double t = static_cast<double>(i) / kSampleRate;
        double v = 0;
        for (double f : partials)
            v += std::sin(2 * std::numbers::pi * f * t);
        v /= 3.0;
        double pulse = 0.65 + 0.35 * std::cos(2 * std::numbers::pi * kPulseRate * t);
        double level = std::exp(-2.5 * t) * pulse * edgeGain(i, kErrorSamples);
        const auto s = static_cast<std::int16_t>(std::lround(kPeak * level * v));
        putU16(data, static_cast<std::uint16_t>(s)); // little-endian, as the header's fields
    }
    return waveImage(data, 16);
}

struct Bank {
    std::array<std::vector<std::uint8_t>, kLastSound - kFirstSound + 1> images;
    Bank() {
        images[kErrorSound - kFirstSound] = makeErrorSound();
        images[kSilenceSound - kFirstSound] =
            waveImage(std::vector<std::uint8_t>(kSilenceSamples, 128), 8);
        for (std::size_t i = 0; i < std::size(kNaturals); ++i) {
            images[kShortNaturals - kFirstSound + i] =
                makeNote(pitchOf(kNaturals[i]), i == 0 ? 2254 : 2403);
            images[kLongNaturals - kFirstSound + i] =
                makeNote(pitchOf(kNaturals[i] - 12), i == 0 ? 4508 : 4807);
        }
        for (const NoteSound& n : kNotes)
            images[static_cast<std::size_t>(n.resource - kFirstSound)] =
                makeNote(pitchOf(n.midi), n.samples);
    }
};

} // namespace

const std::vector<std::uint8_t>* findSound(int resource) {
    if (resource < kFirstSound || resource > kLastSound) return nullptr;
    // Made once, on first use; the language makes the first use thread-safe.
    static const Bank bank;
    return &bank.images[static_cast<std::size_t>(resource - kFirstSound)];
}

void fillNoteResource(int (&noteResource)[100]) {
    std::fill(std::begin(noteResource), std::end(noteResource), 0);
    for (int slot = 0; slot < 16; ++slot)
        noteResource[slot] = kShortNaturals + slot;
    for (int slot = 16; slot < 32; ++slot)
        noteResource[slot] = kLongNaturals + (slot - 16);
    for (int slot = 32; slot < 42; ++slot)
        noteResource[slot] = 135 + (slot - 32);
    noteResource[48] = 145;
    noteResource[99] = kSilenceSound;
}

} // namespace tess
