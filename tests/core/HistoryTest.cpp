// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The score history: appending with the overflow rule, the totals, and the table's erasing.
#include "support/GameDriver.h"

#include <gtest/gtest.h>

#include <string>

using namespace tess;
using tess::test::GameDriver;

namespace {

struct History : ::testing::Test {
    GameDriver game;
    Canvas canvas{1016, 700};

    void SetUp() override { game.startGame(4, 1); }
    void append(int vertexCount, int score) {
        game.view.vertexCount = vertexCount;
        game.view.score = score;
        game.view.appendScoreToHistory();
        redraw();
    }
    void redraw() {
        DrawingContext dc(canvas);
        const CMekkView& v = game.view;
        drawHistoryTable(Page{dc, v.layout, v}, v.historyCount, v.historyList);
    }
    const int* column(int s) const { return game.view.historyList[s]; }
};

} // namespace

TEST_F(History, AFullColumnDropsItsOldestScore) {
    game.view.layout.historyRowsFitted = 4; // three scores
    for (int s : {10, 20, 30})
        append(4, s);
    EXPECT_EQ(game.view.historyCount[0], 3);
    append(4, 40);
    EXPECT_EQ(game.view.historyCount[0], 3);
    EXPECT_EQ(column(0)[1], 20);
    EXPECT_EQ(column(0)[2], 30);
    EXPECT_EQ(column(0)[3], 40);
    EXPECT_EQ(column(0)[4], 90) << "the total of the scores shown";
    EXPECT_EQ(column(0)[0], 10) << "the dropped score lands in entry 0";
    // The other columns are untouched and total 0.
    for (int s = 1; s < 4; ++s) {
        EXPECT_EQ(game.view.historyCount[s], 0);
        EXPECT_EQ(column(s)[4], 0);
    }
}

TEST_F(History, ScoresGoToTheirShapesColumnAndZeroCounts) {
    game.view.layout.historyRowsFitted = 6; // five scores
    append(6, 168);
    append(10, 0);
    append(6, 200);
    append(8, 12);
    EXPECT_EQ(game.view.historyCount[0], 0);
    EXPECT_EQ(game.view.historyCount[1], 2);
    EXPECT_EQ(game.view.historyCount[2], 1);
    EXPECT_EQ(game.view.historyCount[3], 1);
    EXPECT_EQ(column(1)[6], 368);
    EXPECT_EQ(column(2)[6], 12);
    EXPECT_EQ(column(3)[1], 0);
    EXPECT_EQ(column(3)[6], 0);
    // Drawing alone changes nothing.
    redraw();
    redraw();
    EXPECT_EQ(game.view.historyCount[1], 2);
    EXPECT_EQ(column(1)[1], 168);
    EXPECT_EQ(column(1)[2], 200);
}

TEST_F(History, WithNoRoomNoScoreIsEverShown) {
    game.view.layout.historyRowsFitted = 1; // no score
    append(4, 53);
    append(4, 100);
    EXPECT_EQ(game.view.historyCount[0], 0);
    EXPECT_EQ(column(0)[0], 100);
    EXPECT_EQ(column(0)[1], 0) << "the total row";
}

TEST_F(History, ACapacityAbove50IsKeptTo50) {
    game.view.layout.historyRowsFitted = 61; // sixty scores
    for (int k = 1; k <= 52; ++k)
        append(4, k);
    EXPECT_EQ(game.view.historyCount[0], 50);
    EXPECT_EQ(column(0)[1], 3);
    EXPECT_EQ(column(0)[50], 52);
    EXPECT_EQ(column(0)[51], (3 + 52) * 50 / 2);
}

// The table erases its area before it writes: over a picture of anything, only its white and
// its black ink are left there. (What it writes, and where, the page texts and the golden
// pages compare.)
TEST_F(History, TheTableErasesItsAreaBeforeItWrites) {
    append(6, 168);
    canvas.clear(Colour(9, 9, 9));
    redraw();
    const Rect& area = game.view.layout.historyRect;
    ASSERT_GT(area.width(), 0);
    int other = 0, black = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            const Colour c = canvas.pixel(x, y);
            other += c != kWhite && c != kBlack;
            black += c == kBlack;
        }
    EXPECT_EQ(other, 0);
    EXPECT_GT(black, 0);
}

TEST(HistoryRun, ScoredGamesAccumulateAcrossGamesAndShapes) {
    GameDriver game;
    for (int round = 0; round < 3; ++round) {
        game.startGame(4, 1);
        game.drawPath({2, 4});
        game.end();
        game.end();
    }
    game.startGame(8, 2);
    game.end();
    game.end();
    EXPECT_EQ(game.view.historyCount[0], 3);
    EXPECT_EQ(game.view.historyCount[2], 1);
    EXPECT_TRUE(game.repaint() == game.screen());
    EXPECT_EQ(game.view.historyCount[0], 3);
}
