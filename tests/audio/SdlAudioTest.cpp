// The real sound path: the game's images through SDL to a device that writes what it plays
// into a file, and the game without any sound device at all.
#include "app/SdlAudio.h"
#include "sound/SoundBank.h"
#include "sound/WaveImage.h"

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

// The device's buffer: 512 frames at 22050 Hz.
constexpr std::size_t kBufferFrames = 512;
// A synchronous play returns once all but the last buffer of its sound is in the device's
// hands; the buffer handed over last has only begun to play then, so up to two buffers'
// time of the sound is still to come.
constexpr milliseconds kEarlyReturn{47};

// A sound's samples as the device should receive them: its image as the game's own wave
// reader decodes it.
std::vector<std::int16_t> expectedSamples(int resource) {
    const std::vector<std::uint8_t>& image = *findSound(resource);
    std::vector<std::int16_t> out;
    EXPECT_TRUE(decodeWave(image.data(), image.size(), 22050, out)) << resource;
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
            // Not before the sound has played but for its last buffer, and never much after.
            EXPECT_GE(took, lengthOf(r) - kEarlyReturn) << r;
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

TEST_F(DiskDevice, SynchronousNotesJoinAndTheNextSoundWaitsForTheLastOnesEnd) {
    // The start of tune 12, as a tune played whole or pieces coloured in turn play it, then
    // the error sound started as soon as the last note's play returns.
    const std::vector<int> notes = {109, 109, 105, 105, 104, 104};
    milliseconds written{0};
    for (int r : notes)
        written += lengthOf(r);
    {
        SdlAudio audio;
        ASSERT_TRUE(audio.available());
        milliseconds took = timed([&] {
            for (int r : notes)
                play(audio, r, true);
        });
        // The tune lasts as long as its notes, not a buffer or two more for every note.
        EXPECT_GE(took, written - kEarlyReturn);
        EXPECT_LE(took, written + milliseconds(100));
        play(audio, kErrorSound, false);
        std::this_thread::sleep_for(lengthOf(kErrorSound) + milliseconds(100));
    }
    const std::vector<std::int16_t> out = recorded();
    std::size_t end = 0;
    std::vector<int> sounds = notes;
    sounds.push_back(kErrorSound);
    for (std::size_t i = 0; i < sounds.size(); ++i) {
        const std::vector<std::int16_t> samples = expectedSamples(sounds[i]);
        const std::size_t at = find(out, samples, end);
        ASSERT_NE(at, std::string::npos) << "sound " << i << " heard whole";
        // Each sound starts on the sample after the last one's end; a game thread that is
        // late for the last buffer costs at most that buffer's rest, never a whole buffer.
        if (i > 0) {
            EXPECT_LT(at - end, kBufferFrames) << "before sound " << i;
        }
        end = at + samples.size();
    }
}

TEST_F(DiskDevice, ALostDeviceEndsTheWaitAndIsOpenedAgainAtTheNextSound) {
    // Every write to /dev/full fails once the file's buffer fills: SDL then reports the
    // device lost, as it does when a sound server goes away.
    setenv("SDL_DISKAUDIOFILE", "/dev/full", 1);
    milliseconds took{0};
    {
        SdlAudio audio;
        ASSERT_TRUE(audio.available());
        // Lost while a synchronous sound plays, at its fifth buffer: the play returns without
        // waiting the sound out (a device that goes on taking buffers, as SDL's lost ones
        // do, would hold it for the sound's whole length and a buffer more).
        took = timed([&] { play(audio, kErrorSound, true); });
        EXPECT_LT(took, lengthOf(kErrorSound) - milliseconds(20));

        // While the device cannot be opened again the game plays silent and does not wait
        // for the sound: closing the lost device costs SDL's drain of two buffers once.
        setenv("SDL_DISKAUDIOFILE", "/nonexistent-folder/audio.raw", 1);
        EXPECT_LT(timed([&] { play(audio, 128, true); }), lengthOf(128) - milliseconds(40));
        EXPECT_FALSE(audio.available());
        EXPECT_LT(timed([&] { play(audio, 128, true); }), milliseconds(50));

        // Back: the next sound opens the device again and plays through it.
        setenv("SDL_DISKAUDIOFILE", path_.c_str(), 1);
        took = timed([&] { play(audio, 111, true); });
        EXPECT_TRUE(audio.available());
    }
    EXPECT_GE(took, lengthOf(111) - kEarlyReturn);
    EXPECT_LE(took, lengthOf(111) + milliseconds(300));
    EXPECT_NE(find(recorded(), expectedSamples(111)), std::string::npos);
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
    EXPECT_GE(took, lengthOf(145) - kEarlyReturn);
    EXPECT_LE(took, lengthOf(145) + milliseconds(300));
}
