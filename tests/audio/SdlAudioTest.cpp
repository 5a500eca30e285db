// The real sound path: the game's images through SDL to a device that writes what it plays
// into a file, and the game without any sound device at all.
#include "sound/sdl/SdlAudio.h"
#include "sound/SoundBank.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

// A sound's samples as the device should receive them, read from its image's data chunk.
std::vector<std::int16_t> expectedSamples(int resource) {
    const std::vector<std::uint8_t>& image = *findSound(resource);
    const bool sixteen = resource == kErrorSound;
    std::size_t pos = 12;
    while (std::memcmp(image.data() + pos, "data", 4) != 0) {
        std::uint32_t size = image[pos + 4] | image[pos + 5] << 8;
        pos += 8 + size + (size & 1u);
    }
    std::size_t size = image[pos + 4] | image[pos + 5] << 8 | image[pos + 6] << 16;
    std::vector<std::int16_t> out;
    for (std::size_t i = 0; i < size; i += sixteen ? 2 : 1) {
        const std::uint8_t* p = image.data() + pos + 8 + i;
        out.push_back(sixteen ? static_cast<std::int16_t>(p[0] | p[1] << 8)
                              : static_cast<std::int16_t>((p[0] - 128) * 256));
    }
    return out;
}

milliseconds lengthOf(int resource) {
    return milliseconds(expectedSamples(resource).size() * 1000 / 22050);
}

void play(SdlAudio& audio, int resource, bool synchronous) {
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
    auto it = std::search(all.begin() + static_cast<std::ptrdiff_t>(from), all.end(), part.begin(),
                          part.end());
    return it == all.end() ? std::string::npos : static_cast<std::size_t>(it - all.begin());
}

// An SDL device that writes, in real time, what it plays into a file.
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
    }
    void TearDown() override { std::remove(path_.c_str()); }

    // What the device played; the file is complete once the device is closed.
    std::vector<std::int16_t> recorded() {
        std::ifstream in(path_, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        std::vector<std::int16_t> out(bytes.size() / 2);
        std::memcpy(out.data(), bytes.data(), out.size() * 2);
        return out;
    }

    std::string path_;
};

} // namespace

TEST_F(DiskDevice, SyncSoundsReachTheDeviceWholeAndReturnAtTheirEnd) {
    {
        SdlAudio audio;
        ASSERT_TRUE(audio.available());
        for (int r : {kErrorSound, 128}) {
            milliseconds took = timed([&] { play(audio, r, true); });
            // Not before the sound has played, and never much after.
            EXPECT_GE(took, lengthOf(r) - milliseconds(6)) << r;
            EXPECT_LE(took, lengthOf(r) + milliseconds(300)) << r;
        }
    }
    const std::vector<std::int16_t> out = recorded();
    std::size_t error = find(out, expectedSamples(kErrorSound));
    ASSERT_NE(error, std::string::npos);
    EXPECT_NE(find(out, expectedSamples(128), error), std::string::npos);
}

TEST_F(DiskDevice, AnAsyncSoundIsCutOffByTheNext) {
    const std::vector<std::int16_t> first = expectedSamples(130);
    const std::vector<std::int16_t> second = expectedSamples(111);
    {
        SdlAudio audio;
        ASSERT_TRUE(audio.available());
        EXPECT_LT(timed([&] { play(audio, 130, false); }), milliseconds(20));
        std::this_thread::sleep_for(milliseconds(70));
        play(audio, 111, true);
    }
    const std::vector<std::int16_t> out = recorded();
    // The first sound starts where its first audible sample lands.
    std::size_t lead = 0;
    while (first[lead] == 0)
        ++lead;
    std::size_t heard = 0;
    while (heard < out.size() && out[heard] == 0)
        ++heard;
    ASSERT_GE(heard, lead);
    const std::size_t start = heard - lead;

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
    {
        SdlAudio audio;
        ASSERT_TRUE(audio.available());
        play(audio, 120, false);
        std::this_thread::sleep_for(milliseconds(30));
        EXPECT_LT(timed([&] { audio.play(garbage, sizeof garbage, true); }), milliseconds(10));
        EXPECT_LT(timed([&] { audio.play(nullptr, 0, true); }), milliseconds(10));
        std::this_thread::sleep_for(lengthOf(120) + milliseconds(100));
    }
    const std::vector<std::int16_t> out = recorded();
    std::size_t at = find(out, expectedSamples(120));
    ASSERT_NE(at, std::string::npos);
    // Nothing else sounded.
    for (std::size_t i = at + expectedSamples(120).size(); i < out.size(); ++i)
        ASSERT_EQ(out[i], 0) << i;
}

TEST(NoDevice, TheGameRunsSilentAndNeverWaits) {
    setenv("SDL_AUDIODRIVER", "nonexistent", 1);
    findSound(kErrorSound); // the sounds are made at their first use, not timed here
    SdlAudio audio;
    EXPECT_FALSE(audio.available());
    EXPECT_LT(timed([&] { play(audio, kErrorSound, true); }), milliseconds(10));
    EXPECT_LT(timed([&] { play(audio, 120, false); }), milliseconds(10));
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

TEST(DummyDevice, ASynchronousPlayLastsItsSound) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    SdlAudio audio;
    ASSERT_TRUE(audio.available());
    milliseconds took = timed([&] { play(audio, 145, true); });
    EXPECT_GE(took, lengthOf(145) - milliseconds(6));
    EXPECT_LE(took, lengthOf(145) + milliseconds(300));
}
