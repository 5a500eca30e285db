// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// Long random storms of clicks, keys and Sound commands over every shape, on client areas from
// below 69 pixels high up to 7680 by 4320 and on high-density screens: after every event the
// game keeps its invariants and a paint changes none of its state, and a fresh paint equals
// the picture the handlers drew.
//
// TESSARIN_STORM_SCALE multiplies the number of storms: the test command plays about 100,000
// events; TESSARIN_STORM_SCALE=10 plays the long run of over a million (see the README).
#include "support/EventStorm.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

using namespace tess;

namespace {

struct StormCase {
    Size client;
    int streams;
    long events;        // per stream
    double ratio = 1.0; // the screen's pixel ratio
    int checkEvery = 1; // how often the pictures are compared
};

double scale() {
    const char* text = std::getenv("TESSARIN_STORM_SCALE");
    const double s = text ? std::atof(text) : 1.0;
    return s > 0 ? s : 1.0;
}

// Plays the case's storms and returns how many pieces they coloured and games they scored.
std::pair<long, long> runStorms(const StormCase& c) {
    long pieces = 0, scored = 0;
    const int streams = std::max(1, int(c.streams * scale() + 0.5));
    for (int stream = 0; stream < streams; ++stream) {
        std::mt19937 random(static_cast<unsigned>(stream * 7919 + c.client.cx * 31 + c.client.cy));
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(c.events) * 8);
        for (auto& b : bytes)
            b = static_cast<std::uint8_t>(random());
        storm::Storm s(c.client, static_cast<std::uint32_t>(stream + 1), c.ratio, c.checkEvery);
        storm::ByteSource in(bytes.data(), bytes.size());
        const storm::Verdict v = s.play(in, c.events);
        std::printf("storm %dx%d at %g: %ld events, %ld pieces, %ld games scored\n", c.client.cx,
                    c.client.cy, c.ratio, v.events, v.pieces, v.scored);
        pieces += v.pieces;
        scored += v.scored;
        if (!v.failure.empty()) {
            ADD_FAILURE() << c.client.cx << "x" << c.client.cy << " at ratio " << c.ratio
                          << ", stream " << stream << ": " << v.report();
            break;
        }
    }
    return {pieces, scored};
}

} // namespace

TEST(Storm, SmallWindowsColourAndScoreManyGames) {
    long pieces = 0, scored = 0;
    for (const StormCase& c : {StormCase{{320, 240}, 40, 1000}, StormCase{{480, 330}, 20, 1000},
                               StormCase{{640, 480}, 10, 1000}}) {
        const auto [p, s] = runStorms(c);
        pieces += p;
        scored += s;
    }
    // The storms play games to their end: about one event in thirty colours a piece, and one
    // in four hundred ends a scored game.
    const long events = long(70 * 1000 * scale());
    EXPECT_GT(pieces, events / 70) << "the storms coloured few pieces";
    EXPECT_GT(scored, events / 1400) << "the storms scored few games";
}

TEST(Storm, UsualWindows) {
    const auto [pieces, scored] = runStorms({{1016, 700}, 10, 1000, 1.0, 4});
    runStorms({{777, 555}, 4, 1000, 1.0, 4});
    EXPECT_GT(pieces, 0);
    EXPECT_GT(scored, 0);
}

TEST(Storm, WindowsTooLowForTheLayout) {
    runStorms({{640, 60}, 6, 1000});
    runStorms({{1, 1}, 2, 1000});
    runStorms({{300, 69}, 4, 1000});
    runStorms({{69, 68}, 2, 1000});
}

TEST(Storm, HighDensityScreens) {
    runStorms({{400, 300}, 4, 1000, 1.25});
    runStorms({{480, 360}, 4, 1000, 1.5});
    runStorms({{560, 420}, 4, 1000, 1.75});
    runStorms({{640, 480}, 4, 1000, 2.0});
}

TEST(Storm, LargeScreens) {
    runStorms({{1920, 1080}, 2, 500, 1.0, 25});
    runStorms({{3840, 2160}, 1, 200, 2.0, 50});
}

TEST(Storm, EightKScreen) {
    runStorms({{7680, 4320}, 1, 60, 1.0, 30});
}
