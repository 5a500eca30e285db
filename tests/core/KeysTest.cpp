// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The key table: which key does what on which page and in which phase.
#include "game/CMekkView.h"
#include "input/KeyCodes.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace tess;

namespace {

struct Game {
    fake::FakePlatform platform;
    CMekkView view{platform};
    Game() {
        view.randomState = 12345;
        view.paint();
    }
    // Starts a game on the Hexagon with a hand-made path of two lines.
    void toDrawing() {
        view.currentPage = kGamePage;
        view.vertexCount = 6;
        view.startVertexChosen = 1;
        view.path[1] = 1;
        view.path[2] = 3;
        view.path[3] = 5;
        view.pathLength = 3;
        view.paint();
    }
    // That game ended aborted, with the colour cycle at `colour`.
    void toAbortedFinish(int colour) {
        toDrawing();
        view.gamePhase = kFinished;
        view.gameAborted = true;
        view.colourIndex = colour;
    }
    Canvas freshPaint() {
        Canvas c(view.screen()->width(), view.screen()->height());
        DrawingContext dc(c);
        view.OnDraw(dc);
        return c;
    }
};

// The parts of the state a key may change.
struct State {
    int page, phase, chosen, length, vertices, colour, pieces, tune, score;
    int path[100];
    int historyCount[4];
    int aborted;
    std::uint32_t random;
    explicit State(const CMekkView& v)
        : page(v.currentPage), phase(v.gamePhase), chosen(v.startVertexChosen),
          length(v.pathLength), vertices(v.vertexCount), colour(v.colourIndex),
          pieces(v.pieceCount), tune(v.tuneIndex), score(v.score), path{}, historyCount{},
          aborted(int(v.gameAborted)), random(v.randomState) {
        std::memcpy(path, v.path, sizeof path);
        std::memcpy(historyCount, v.historyCount, sizeof historyCount);
    }
    friend bool operator==(const State& a, const State& b) {
        return std::memcmp(&a, &b, sizeof(State)) == 0;
    }
};

// Keys that the table does not list, or lists for other states only.
const int kUnlistedKeys[] = {27, 32, 37, 38, 39, 40, 48, 57, 113, 123, 8, 9, 46, 91, 64, 96, 12};

void expectNothingHappens(Game& g, int key) {
    State before(g.view);
    Canvas shown = *g.view.screen();
    std::size_t sounds = g.platform.sounds.size();
    std::size_t messages = g.platform.messages.size();
    g.view.OnKeyDown(key);
    EXPECT_TRUE(State(g.view) == before) << "key " << key;
    EXPECT_TRUE(*g.view.screen() == shown) << "key " << key;
    EXPECT_EQ(g.platform.sounds.size(), sounds) << "key " << key;
    EXPECT_EQ(g.platform.messages.size(), messages) << "key " << key;
}

} // namespace

TEST(Keys, BeforeTheFirstPaintNoKeyDoesAnything) {
    fake::FakePlatform platform;
    CMekkView view(platform);
    for (int key : {vk::Return, vk::Home, vk::End, vk::F1, int('Q'), int('M')})
        view.OnKeyDown(key);
    EXPECT_TRUE(platform.sounds.empty());
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(view.currentPage, kHomePage);
    EXPECT_EQ(view.screen(), nullptr);
}

TEST(Keys, LettersOnTheHomePagePlayTheirNotesWhateverTheSoundMenuSays) {
    Game g;
    g.view.soundSwitch = "off";
    g.view.noteMode = "cut";
    // Sound resources of Q W E R T Y U I O P, A S D F G H J K L, Z X C V B N M.
    const char* keys = "QWERTYUIOPASDFGHJKLZXCVBNM";
    const int resources[] = {102, 103, 135, 104, 136, 105, 137, 106, 107, 138, 108, 139, 109,
                             110, 140, 111, 141, 112, 142, 113, 114, 143, 115, 144, 116, 117};
    std::vector<fake::PlayedSound> expected;
    for (int i = 0; i < 26; ++i) {
        g.view.OnKeyDown(keys[i]);
        expected.push_back({resources[i], true});
    }
    EXPECT_EQ(g.platform.sounds, expected);
    EXPECT_EQ(g.view.currentPage, kHomePage);
}

TEST(Keys, HomeEndEnterAndF1DoNothingOnTheHomePage) {
    Game g;
    for (int key : {vk::Return, vk::Home, vk::End, vk::F1})
        expectNothingHappens(g, key);
    // Not even with a phase left over that would allow them on the game page, a state no game
    // reaches.
    g.view.checkStateAfterEntries = false;
    g.view.gamePhase = kFinished;
    for (int key : {vk::Home, vk::End, vk::F1})
        expectNothingHappens(g, key);
}

TEST(Keys, UnlistedKeysDoNothingInAnyState) {
    Game g;
    for (int key : kUnlistedKeys)
        expectNothingHappens(g, key);
    g.toDrawing();
    for (int phase : {kDrawing, kColouring, kFinished}) {
        g.view.gamePhase = phase;
        for (int key : kUnlistedKeys)
            expectNothingHappens(g, key);
        for (int letter = vk::A; letter <= vk::Z; ++letter)
            expectNothingHappens(g, letter);
    }
}

TEST(Keys, EnterAndHomeCannotLeaveAGameUnderWay) {
    Game g;
    g.toDrawing();
    for (int phase : {kDrawing, kColouring}) {
        g.view.gamePhase = phase;
        expectNothingHappens(g, vk::Return);
        expectNothingHappens(g, vk::Home);
    }
}

TEST(Keys, F1ShowsTheInstructionsInEveryPhaseAndChangesNothing) {
    Game g;
    g.toDrawing();
    for (int phase : {kDrawing, kColouring, kFinished}) {
        g.view.gamePhase = phase;
        State before(g.view);
        Canvas shown = *g.view.screen();
        g.view.OnKeyDown(vk::F1);
        EXPECT_TRUE(State(g.view) == before);
        EXPECT_TRUE(*g.view.screen() == shown);
    }
    ASSERT_EQ(g.platform.messages.size(), 3u);
    for (const std::string& m : g.platform.messages) {
        EXPECT_EQ(m, g.view.instructionsText);
        EXPECT_EQ(m.rfind("You play by connecting the dots", 0), 0u);
    }
    EXPECT_TRUE(g.platform.sounds.empty());
}

TEST(Keys, EnterInFinishedStartsTheSameShapeWithOneNewStartVertex) {
    Game g;
    g.toAbortedFinish(17);
    g.view.tuneIndex = 5;

    std::uint32_t state = g.view.randomState * 214013u + 2531011u;
    int expectedStart = int((state >> 16) & 0x7FFF) % 6 + 1;
    g.view.OnKeyDown(vk::Return);

    EXPECT_EQ(g.view.currentPage, kGamePage);
    EXPECT_EQ(g.view.gamePhase, kDrawing);
    EXPECT_EQ(g.view.vertexCount, 6);
    EXPECT_EQ(g.view.pathLength, 1);
    EXPECT_EQ(g.view.startVertexChosen, 1);
    EXPECT_EQ(g.view.path[1], expectedStart);
    EXPECT_EQ(g.view.randomState, state) << "the start vertex is drawn exactly once";
    EXPECT_EQ(g.view.colourIndex, 17) << "the colour cycle goes on";
    EXPECT_EQ(g.view.tuneIndex, 5);
    EXPECT_FALSE(g.view.gameAborted);
    EXPECT_TRUE(*g.view.screen() == g.freshPaint()) << "the new board is shown at once";

    // Now in Drawing: a second Enter does nothing.
    expectNothingHappens(g, vk::Return);
}

TEST(Keys, HomeInFinishedShowsTheHomePageAndRestartsTheColourCycle) {
    Game g;
    g.toAbortedFinish(23);
    std::uint32_t random = g.view.randomState;
    int start = g.view.path[1];

    g.view.OnKeyDown(vk::Home);

    EXPECT_EQ(g.view.currentPage, kHomePage);
    EXPECT_EQ(g.view.gamePhase, kDrawing);
    EXPECT_EQ(g.view.pathLength, 1);
    EXPECT_EQ(g.view.colourIndex, 0);
    EXPECT_EQ(g.view.startVertexChosen, 1) << "the shape click draws the next start vertex";
    EXPECT_EQ(g.view.path[1], start);
    EXPECT_EQ(g.view.randomState, random);
    EXPECT_FALSE(g.view.gameAborted);
    EXPECT_TRUE(*g.view.screen() == g.freshPaint()) << "the home page is shown at once";

    // The home page's letters work again, End does not.
    expectNothingHappens(g, vk::End);
    g.view.OnKeyDown('Q');
    ASSERT_FALSE(g.platform.sounds.empty());
    EXPECT_EQ(g.platform.sounds.back(), (fake::PlayedSound{102, true}));
}

TEST(Keys, EndColoursThenScoresAndAThirdEndDoesNotRescore) {
    Game g;
    g.toDrawing();
    g.view.OnKeyDown(vk::End);
    EXPECT_EQ(g.view.gamePhase, kColouring);
    EXPECT_EQ(g.view.pieceCount, 0);
    EXPECT_TRUE(*g.view.screen() == g.freshPaint());

    g.view.OnKeyDown(vk::End);
    EXPECT_EQ(g.view.gamePhase, kFinished);
    EXPECT_EQ(g.view.historyCount[1], 1) << "the Hexagon's column holds the score";
    EXPECT_TRUE(*g.view.screen() == g.freshPaint());

    expectNothingHappens(g, vk::End);
    EXPECT_EQ(g.view.historyCount[1], 1);
}
