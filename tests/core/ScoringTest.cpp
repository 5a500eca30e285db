// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The score of a game, End's result panel, and the repaint of the finished state, scored
// or aborted.
#include "game/ShapeTable.h"
#include "support/GameDriver.h"
#include "support/PageTexts.h"

#include <gtest/gtest.h>

using namespace tess;
using tess::test::GameDriver;

namespace {

int scoreOf(int vertexCount, int lines, int pieces) {
    fake::FakePlatform platform;
    CMekkView view(platform);
    view.vertexCount = vertexCount;
    view.pathLength = lines + 1;
    view.pieceCount = pieces;
    return view.computeScore();
}

// A Square with all four sides and the diagonal 1-4, both triangles coloured.
struct FinishedSquare : ::testing::Test {
    GameDriver game;
    void SetUp() override {
        game.startGame(4, 1);
        game.drawPath({2, 4, 3, 1, 4});
        game.end();
        const Point c1 = game.centre(1), c2 = game.centre(2), c3 = game.centre(3),
                    c4 = game.centre(4);
        game.click(game.inside(c1, c2, c4));
        game.click(game.inside(c1, c3, c4));
    }
};

} // namespace

TEST(Score, WorkedExamples) {
    EXPECT_EQ(scoreOf(6, 12, 20), 168);
    EXPECT_EQ(scoreOf(4, 4, 2), 53);
    EXPECT_EQ(scoreOf(4, 5, 4), 133); // more pieces than the maximum score above it
    EXPECT_EQ(scoreOf(4, 5, 0), 0);
    EXPECT_EQ(scoreOf(10, 0, 0), 0);
    // A perfect game of each shape.
    EXPECT_EQ(scoreOf(4, 5, 3), 100);
    EXPECT_EQ(scoreOf(6, 13, 22), 200);
    EXPECT_EQ(scoreOf(8, 25, 77), 400);
    EXPECT_EQ(scoreOf(10, 41, 216), 700);
    // The factor applies after rounding, and an exact half rounds up: 100 * 1 * 11 / 286
    // is 3.85 -> 4, times 2; 100 * 3 * 1 / 15 = 20 exactly; 100 * 1 * 1 / 1925 rounds to 0.
    EXPECT_EQ(scoreOf(6, 1, 11), 8);
    EXPECT_EQ(scoreOf(4, 3, 1), 20);
    EXPECT_EQ(scoreOf(8, 1, 1), 0);
    EXPECT_EQ(scoreOf(8, 1, 10), 4); // 1000 / 1925 = 0.52 -> 1, times 4
    // The record's largest game stays well inside 32 bits.
    EXPECT_EQ(scoreOf(10, 41, 301), (100 * 41 * 301 + 4428) / 8856 * 7);
}

TEST_F(FinishedSquare, EndShowsTheScoreAndAppendsItOnce) {
    game.end();
    EXPECT_EQ(game.view.gamePhase, kFinished);
    EXPECT_EQ(game.view.score, 67); // (1000 + 7) / 15
    EXPECT_EQ(game.view.historyCount[0], 1);
    EXPECT_EQ(game.view.historyList[0][1], 67);
    EXPECT_EQ(game.view.scoreNote,
              "The score shown above has been multiplied by 1, which is the difficulty factor "
              "for the Square. \nTherefore, the maximum score for this shape is 100.");

    // Repaints show the same picture and never append again; a third End does nothing.
    const Canvas scored = game.screen();
    EXPECT_TRUE(game.repaint() == scored);
    EXPECT_TRUE(game.repaint() == scored);
    game.end();
    EXPECT_EQ(game.view.historyCount[0], 1);
    EXPECT_EQ(game.view.score, 67);
    EXPECT_TRUE(game.screen() == scored);
}

TEST(Scoring, EndStraightAfterEndScoresZeroAndAppendsIt) {
    GameDriver game;
    game.startGame(6, 3);
    game.drawPath({4, 5});
    game.end();
    game.end();
    EXPECT_EQ(game.view.score, 0);
    EXPECT_EQ(game.view.historyCount[1], 1);
    EXPECT_EQ(game.view.historyList[1][1], 0);
    EXPECT_NE(game.view.scoreNote.find("for the Hexagon. \nTherefore"), std::string::npos);
    EXPECT_TRUE(game.repaint() == game.screen());
}

TEST_F(FinishedSquare, AnAbortedGameRepaintsAsItEndedWithNoScore) {
    // A scored game first, so that a stale score and history exist.
    game.end();
    game.view.OnKeyDown(vk::Return);
    game.view.path[1] = 1;
    game.view.paint();
    game.drawPath({2, 4, 3, 1, 4});
    game.end();
    game.click(40, 300); // the open space round the shape
    ASSERT_TRUE(game.view.gameAborted);
    const Canvas aborted = game.screen();

    EXPECT_TRUE(game.repaint() == aborted);
    EXPECT_TRUE(game.repaint() == aborted);
    // No score, no note, no explanation: the panel of the scored game is not drawn for a
    // game that ended without a score. The history is, as it stands: the earlier game's
    // score and nothing added.
    const Layout& l = game.view.layout;
    const std::vector<DrawnText> texts = test::pageTexts(game.view);
    EXPECT_EQ(test::saidIn(texts, l.scoreRect, game.view), std::vector<std::string>{});
    EXPECT_EQ(test::saidIn(texts, l.explanationRect, game.view), std::vector<std::string>{});
    EXPECT_EQ(test::saidIn(texts, l.historyCell[0][1], game.view),
              std::vector<std::string>{"right black small: 67"});
    EXPECT_EQ(test::saidIn(texts, l.historyCell[0][2], game.view), std::vector<std::string>{});
    EXPECT_EQ(game.view.score, 67);
    EXPECT_EQ(game.view.historyCount[0], 1);

    // Home then starts over from the home page.
    game.view.OnKeyDown(vk::Home);
    EXPECT_EQ(game.view.currentPage, kHomePage);
    EXPECT_FALSE(game.view.gameAborted);
}

TEST_F(FinishedSquare, ColouringAgainAfterAnAbortForgetsIt) {
    game.click(40, 300);
    ASSERT_TRUE(game.view.gameAborted);
    game.view.OnKeyDown(vk::Return);
    game.view.path[1] = 1;
    game.view.paint();
    game.drawPath({2, 4, 3, 1, 4});
    game.end();
    game.end();
    EXPECT_FALSE(game.view.gameAborted);
    EXPECT_EQ(game.view.historyCount[0], 1);
    EXPECT_TRUE(game.repaint() == game.screen());
    EXPECT_EQ(test::saidIn(test::pageTexts(game.view), game.view.layout.scoreRect, game.view),
              (std::vector<std::string>{"right score largeBold: 0", "left label normal: Score:"}));
}
