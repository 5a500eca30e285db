// Long random storms of clicks, keys and Sound commands over every shape and client areas from
// below 69 pixels high up to 7680 by 4320: after every event the game keeps its invariants and
// a fresh paint equals the picture the handlers drew.
#include "support/EventStorm.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace tess;

namespace {

struct StormCase {
    Size client;
    int streams;
    long events;
};

void runStorms(const StormCase& c) {
    for (int stream = 0; stream < c.streams; ++stream) {
        std::mt19937 random(static_cast<unsigned>(stream * 7919 + c.client.cx));
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(c.events) * 8);
        for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
        storm::Storm s(c.client, static_cast<std::uint32_t>(stream + 1));
        storm::ByteSource in(bytes.data(), bytes.size());
        storm::Verdict v = s.play(in, c.events);
        ASSERT_EQ(v.failure, "") << c.client.cx << "x" << c.client.cy << ", stream " << stream;
    }
}

} // namespace

TEST(Storm, UsualWindow) { runStorms({{1016, 700}, 6, 400}); }

TEST(Storm, WindowsTooLowForTheLayout) {
    runStorms({{640, 60}, 6, 300});
    runStorms({{1, 1}, 2, 200});
    runStorms({{300, 69}, 4, 300});
}

TEST(Storm, LargeScreens) {
    runStorms({{1920, 1080}, 2, 150});
    runStorms({{3840, 2160}, 1, 40});
}

TEST(Storm, EightKScreen) { runStorms({{7680, 4320}, 1, 12}); }
