// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The real sound path: the game's images through SDL to a device that writes what it plays
// into a file, and the game without any sound device at all. The tests wait for what they need
// to see, with limits that only a hang reaches, never for a time: the machine may be busy.
#include "app/SoundDevice.h"
#include "sound/SoundBank.h"
#include "sound/WaveImage.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <unistd.h>

using namespace tess;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

namespace {

// The device's buffer and a synchronous sound's tail (its last buffer and 23 ms), at the disk
// device's rate.
constexpr std::size_t kBufferFrames = 256;
constexpr std::size_t kTailFrames = kBufferFrames + 512;
// What the disk device's file may hold back: SDL writes it through the C library's buffer.
constexpr std::size_t kFileBuffer = 4096;
// Longer than any wait of the game's, shorter than a hang.
constexpr milliseconds kHang{10000};
// A device that never rests while a test listens to it.
constexpr milliseconds kNoRest{3600 * 1000};

// The device rests on a Qt timer: the tests run Qt's events while they wait.
class QtEvents : public ::testing::Environment {
  public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "audio_tests";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QCoreApplication>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

  private:
    std::unique_ptr<QCoreApplication> app_;
};
const auto* const qtEvents = ::testing::AddGlobalTestEnvironment(new QtEvents);

// Runs Qt's events until `done`, for at most kHang.
bool waitFor(const std::function<bool()>& done) {
    const auto end = Clock::now() + kHang;
    while (!done()) {
        if (Clock::now() > end) return false;
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(milliseconds(1));
    }
    return true;
}

// A sound's samples as the device should receive them: its image as the game's own wave
// reader decodes it.
std::vector<std::int16_t> expectedSamples(int resource) {
    const std::vector<std::uint8_t>& image = *findSound(resource);
    std::vector<std::int16_t> out;
    EXPECT_TRUE(decodeWave(image.data(), image.size(), 22050, out)) << resource;
    return out;
}

// A tone of 16-bit samples at 22050 Hz, as a wave image: long enough that a wait which lasted
// it out cannot be mistaken for one that did not.
std::vector<std::uint8_t> toneImage(double seconds, double hertz) {
    const auto count = static_cast<std::uint32_t>(seconds * 22050);
    std::vector<std::uint8_t> image(44 + 2 * std::size_t{count});
    auto put = [&image](std::size_t at, std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            image[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
    };
    std::memcpy(&image[0], "RIFF", 4);
    put(4, 36 + 2 * count, 4);
    std::memcpy(&image[8], "WAVEfmt ", 8);
    put(16, 16, 4);
    put(20, 1, 2);     // PCM
    put(22, 1, 2);     // mono
    put(24, 22050, 4); // rate
    put(28, 44100, 4); // bytes a second
    put(32, 2, 2);     // block
    put(34, 16, 2);    // bits
    std::memcpy(&image[36], "data", 4);
    put(40, 2 * count, 4);
    for (std::uint32_t i = 0; i < count; ++i)
        put(44 + 2 * std::size_t{i},
            static_cast<std::uint16_t>(
                static_cast<std::int16_t>(20000 * std::sin(2 * M_PI * hertz * i / 22050))),
            2);
    return image;
}

void play(SoundDevice& audio, int resource, bool synchronous) {
    const std::vector<std::uint8_t>& image = *findSound(resource);
    audio.play(image.data(), image.size(), synchronous);
}

milliseconds timed(const std::function<void()>& f) {
    auto start = Clock::now();
    f();
    return std::chrono::duration_cast<milliseconds>(Clock::now() - start);
}

// Where `part` occurs in `all` from `from` on, or npos.
std::size_t find(const std::vector<std::int16_t>& all, const std::vector<std::int16_t>& part,
                 std::size_t from = 0) {
    if (from > all.size()) return std::string::npos;
    auto it = std::search(all.begin() + static_cast<std::ptrdiff_t>(from), all.end(), part.begin(),
                          part.end());
    return it == all.end() ? std::string::npos : static_cast<std::size_t>(it - all.begin());
}

// How many of `part`'s first samples `all` holds from `at` on.
std::size_t prefixAt(const std::vector<std::int16_t>& all, const std::vector<std::int16_t>& part,
                     std::size_t at) {
    std::size_t n = 0;
    while (at + n < all.size() && n < part.size() && all[at + n] == part[n])
        ++n;
    return n;
}

std::size_t firstSound(const std::vector<std::int16_t>& samples) {
    std::size_t i = 0;
    while (i < samples.size() && samples[i] == 0)
        ++i;
    return i;
}

// An SDL device that writes, in real time, what it plays into a file. The file starts again
// whenever the device opens.
class DiskDevice : public ::testing::Test {
  protected:
    void SetUp() override {
        char name[] = "/tmp/tessarin-audio-XXXXXX";
        int fd = mkstemp(name);
        ASSERT_GE(fd, 0);
        close(fd);
        path_ = name;
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", path_.c_str(), 1);
        unsetenv("SDL_DISKAUDIODELAY"); // keep the device's real-time pacing
        unsetenv("SDL_AUDIO_FREQUENCY");
    }
    void TearDown() override {
        std::remove(path_.c_str());
        unsetenv("SDL_AUDIO_FREQUENCY");
    }

    // What the device played so far; the file is complete once the device is closed.
    std::vector<std::int16_t> recorded() {
        std::ifstream in(path_, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        std::vector<std::int16_t> out(bytes.size() / 2);
        if (!out.empty()) std::memcpy(out.data(), bytes.data(), out.size() * 2);
        return out;
    }

    std::string path_;
};

} // namespace

TEST_F(DiskDevice, SyncSoundsReachTheDeviceWholeAndReturnAtTheirEnd) {
    const std::vector<std::uint8_t> tone = toneImage(2.0, 440);
    std::vector<std::int16_t> toneSamples;
    ASSERT_TRUE(decodeWave(tone.data(), tone.size(), 22050, toneSamples));
    {
        SoundDevice audio(kNoRest);
        ASSERT_TRUE(audio.available());
        for (int r : {kErrorSound, 128})
            play(audio, r, true);
        audio.play(tone.data(), tone.size(), true);
        // Not before the device has taken all of the sound but its tail, the buffer it is
        // writing as the play returns, and what the file's own buffer still holds.
        const std::vector<std::int16_t> now = recorded();
        const std::size_t at = find(now, {toneSamples.begin() + 1, toneSamples.begin() + 65});
        ASSERT_NE(at, std::string::npos);
        EXPECT_GE(prefixAt(now, toneSamples, at - 1),
                  toneSamples.size() - kTailFrames - kBufferFrames - kFileBuffer);
    }
    const std::vector<std::int16_t> out = recorded();
    std::size_t error = find(out, expectedSamples(kErrorSound));
    ASSERT_NE(error, std::string::npos);
    std::size_t note = find(out, expectedSamples(128), error);
    ASSERT_NE(note, std::string::npos);
    EXPECT_NE(find(out, toneSamples, note), std::string::npos);
}

TEST_F(DiskDevice, AnAsyncSoundIsCutOffByTheNext) {
    const std::vector<std::uint8_t> long_tone = toneImage(3.0, 440);
    std::vector<std::int16_t> first;
    ASSERT_TRUE(decodeWave(long_tone.data(), long_tone.size(), 22050, first));
    const std::vector<std::int16_t> second = expectedSamples(111);
    {
        SoundDevice audio(kNoRest);
        ASSERT_TRUE(audio.available());
        // Returns at once: the next sound is started while the first one plays.
        audio.play(long_tone.data(), long_tone.size(), false);
        ASSERT_TRUE(waitFor([&] { return recorded().size() > firstSound(recorded()) + 2000; }));
        play(audio, 111, true);
    }
    const std::vector<std::int16_t> out = recorded();
    // The first sound starts where its first audible sample lands.
    const std::size_t start = firstSound(out) - firstSound(first);
    // Then the second sound, whole, directly behind a part of the first.
    std::size_t next = find(out, second, start);
    ASSERT_NE(next, std::string::npos);
    const std::size_t played = next - start;
    EXPECT_GT(played, 0u);
    EXPECT_LT(played, first.size());
    EXPECT_TRUE(std::equal(first.begin(), first.begin() + static_cast<std::ptrdiff_t>(played),
                           out.begin() + static_cast<std::ptrdiff_t>(start)));
}

TEST_F(DiskDevice, AnAsyncSoundPlaysToItsEndAndAnUnplayableOneChangesNothing) {
    const std::uint8_t garbage[] = {'R', 'I', 'F', 'F', 0xFF, 0xFF, 0xFF, 0x7F,
                                    'W', 'A', 'V', 'E', 'd',  'a',  't',  'a'};
    const std::vector<std::int16_t> note = expectedSamples(120);
    {
        SoundDevice audio(kNoRest);
        ASSERT_TRUE(audio.available());
        play(audio, 120, false);
        audio.play(garbage, sizeof garbage, true);
        audio.play(nullptr, 0, true);
        // The note to its end, and a little silence after it.
        ASSERT_TRUE(waitFor([&] {
            const std::vector<std::int16_t> out = recorded();
            const std::size_t at = find(out, note);
            return at != std::string::npos && out.size() > at + note.size() + 2000;
        }));
    }
    const std::vector<std::int16_t> out = recorded();
    std::size_t at = find(out, note);
    ASSERT_NE(at, std::string::npos);
    // Nothing else sounded.
    EXPECT_EQ(firstSound(out), at + firstSound(note));
    for (std::size_t i = at + note.size(); i < out.size(); ++i)
        ASSERT_EQ(out[i], 0) << i;
}

TEST_F(DiskDevice, SynchronousNotesJoinAndTheNextSoundWaitsForTheLastOnesEnd) {
    // The start of tune 12, as a tune played whole or pieces coloured in turn play it, then
    // the error sound started as soon as the last note's play returns.
    const std::vector<int> notes = {109, 109, 105, 105, 104, 104};
    {
        SoundDevice audio(kNoRest);
        ASSERT_TRUE(audio.available());
        for (int r : notes)
            play(audio, r, true);
        play(audio, kErrorSound, false);
        const std::vector<std::int16_t> error = expectedSamples(kErrorSound);
        ASSERT_TRUE(waitFor([&] { return find(recorded(), error) != std::string::npos; }));
    }
    const std::vector<std::int16_t> out = recorded();
    std::size_t end = 0;
    std::vector<int> sounds = notes;
    sounds.push_back(kErrorSound);
    for (std::size_t i = 0; i < sounds.size(); ++i) {
        const std::vector<std::int16_t> samples = expectedSamples(sounds[i]);
        const std::size_t at = find(out, samples, end);
        ASSERT_NE(at, std::string::npos) << "sound " << i << " heard whole";
        // Each sound starts on the sample after the last one's end: the game had the last
        // one's tail to start it. Even a game thread late by the whole tail costs less than
        // the tail again.
        if (i > 0) {
            EXPECT_LT(at - end, kTailFrames) << "before sound " << i;
        }
        end = at + samples.size();
    }
}

TEST_F(DiskDevice, ADeviceRestsAfterItsLastSoundAndTheNextSoundOpensItWhole) {
    const std::vector<std::int16_t> first = expectedSamples(120);
    const std::vector<std::int16_t> second = expectedSamples(111);
    const std::vector<std::uint8_t> tone = toneImage(1.0, 440);
    std::vector<std::int16_t> toneSamples;
    ASSERT_TRUE(decodeWave(tone.data(), tone.size(), 22050, toneSamples));
    SoundDevice audio(milliseconds(20));
    play(audio, 120, true);
    EXPECT_TRUE(audio.awake());
    // Closed once it has rested: the file is whole and grows no more.
    ASSERT_TRUE(waitFor([&] { return !audio.awake(); }));
    EXPECT_NE(find(recorded(), first), std::string::npos);

    // The next sound opens the device again, and is heard from its first sample, with nothing
    // before it but the device's silence.
    play(audio, 111, true);
    EXPECT_TRUE(audio.awake());
    ASSERT_TRUE(waitFor([&] { return !audio.awake(); }));
    std::vector<std::int16_t> out = recorded();
    std::size_t at = find(out, second);
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(firstSound(out), at + firstSound(second));

    // A device rests only once its sound is over, however long it plays.
    audio.play(tone.data(), tone.size(), false);
    ASSERT_TRUE(waitFor([&] { return !audio.awake(); }));
    EXPECT_NE(find(recorded(), toneSamples), std::string::npos);
}

TEST_F(DiskDevice, ADeviceAtAnotherRateHearsEachSoundAtItsPitchAndLength) {
    // The rate SDL picks for a device whose driver does not say one.
    setenv("SDL_AUDIO_FREQUENCY", "48000", 1);
    const std::vector<std::uint8_t> tone = toneImage(0.5, 1000);
    {
        SoundDevice audio(kNoRest);
        audio.play(tone.data(), tone.size(), true);
        play(audio, 102, true);
    }
    const std::vector<std::int16_t> out = recorded();
    // The tone: upward zero crossings a thousand times a second of the device's time.
    const std::size_t start = firstSound(out);
    std::vector<double> crossings;
    for (std::size_t i = start + 1; i < out.size() && i < start + 19200; ++i)
        if (out[i - 1] < 0 && out[i] >= 0)
            crossings.push_back(static_cast<double>(i) - out[i] / double(out[i] - out[i - 1]));
    ASSERT_GT(crossings.size(), 300u);
    const double hertz = 48000.0 * static_cast<double>(crossings.size() - 1) /
                         (crossings.back() - crossings.front());
    EXPECT_NEAR(hertz, 1000.0, 1.0);
    // Both sounds, for as long as they last, one after the other.
    std::size_t last = start;
    for (std::size_t i = start; i < out.size(); ++i)
        if (std::abs(out[i]) > 1000) last = i;
    const double note = static_cast<double>(expectedSamples(102).size()) / 22050;
    EXPECT_NEAR(static_cast<double>(last - start) / 48000, 0.5 + note, 0.005);
}

TEST_F(DiskDevice, ALostDeviceEndsTheWaitAndIsOpenedAgainAtTheNextSound) {
    // Every write to /dev/full fails once the file's buffer fills: SDL then reports the
    // device lost, as it does when a sound server goes away.
    setenv("SDL_DISKAUDIOFILE", "/dev/full", 1);
    const std::vector<std::uint8_t> tone = toneImage(20.0, 440);
    {
        SoundDevice audio(kNoRest);
        ASSERT_TRUE(audio.available());
        // Lost while a long synchronous sound plays: the play returns without waiting the
        // sound out.
        EXPECT_LT(timed([&] { audio.play(tone.data(), tone.size(), true); }), kHang);

        // While the device cannot be opened again the game plays silent and does not wait
        // for the sound.
        setenv("SDL_DISKAUDIOFILE", "/nonexistent-folder/audio.raw", 1);
        EXPECT_LT(timed([&] { audio.play(tone.data(), tone.size(), true); }), kHang);
        EXPECT_FALSE(audio.available());
        EXPECT_LT(timed([&] { audio.play(tone.data(), tone.size(), true); }), kHang);

        // Back: a sound once the game looks again (a second after it last found nothing)
        // opens the device again and plays through it.
        setenv("SDL_DISKAUDIOFILE", path_.c_str(), 1);
        ASSERT_TRUE(waitFor([&] { return audio.available(); }));
        play(audio, 111, true);
        EXPECT_TRUE(audio.awake());
    }
    EXPECT_NE(find(recorded(), expectedSamples(111)), std::string::npos);
}

TEST(NoDevice, TheGameRunsSilentAndNeverWaits) {
    setenv("SDL_AUDIODRIVER", "nonexistent", 1);
    const std::vector<std::uint8_t> tone = toneImage(20.0, 440);
    SoundDevice audio;
    EXPECT_FALSE(audio.available());
    EXPECT_LT(timed([&] { audio.play(tone.data(), tone.size(), true); }), kHang);
    EXPECT_LT(timed([&] { audio.play(tone.data(), tone.size(), false); }), kHang);
    EXPECT_FALSE(audio.awake());
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

TEST(NoDevice, WithoutADeviceSdlsAudioEndsItsThreads) {
    // ALSA with no device at all: SDL starts it, and a thread that looks for new devices
    // ten times a second, but finds nothing to open.
    char config[] = "/tmp/tessarin-alsa-XXXXXX";
    const int fd = mkstemp(config);
    ASSERT_GE(fd, 0);
    close(fd);
    setenv("SDL_AUDIODRIVER", "alsa", 1);
    setenv("ALSA_CONFIG_PATH", config, 1);
    auto threads = [] {
        return std::distance(std::filesystem::directory_iterator("/proc/self/task"),
                             std::filesystem::directory_iterator());
    };
    const auto before = threads();
    {
        SoundDevice audio;
        audio.prepare();
        EXPECT_FALSE(audio.available());
        EXPECT_EQ(threads(), before);
        play(audio, 102, true);
        EXPECT_EQ(threads(), before);
    }
    unsetenv("ALSA_CONFIG_PATH");
    std::remove(config);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

TEST(DummyDevice, ASynchronousPlayLastsItsSound) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    SoundDevice audio;
    ASSERT_TRUE(audio.available());
    const milliseconds length(expectedSamples(145).size() * 1000 / 22050);
    // The device takes its samples at about the pace it plays them (SDL rounds a buffer's
    // time down to whole milliseconds), so the play lasts about as long as the sound, however
    // busy the machine.
    milliseconds took = timed([&] { play(audio, 145, true); });
    EXPECT_GE(took, length / 2);
    EXPECT_LT(took, kHang);
}
