// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// A watched perfect game on the player's own view: played step by step through the handlers to
// the score page, with its notes, kept out of the history, and stopped or restarted cleanly.
#include "game/WatchedGame.h"
#include "game/ShapeTable.h"
#include "game/Solver.h"
#include "support/GameDriver.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using namespace tess;
using tess::test::GameDriver;

namespace {

// Steps until the watched game ends; fails the test rather than loop for ever.
void playToEnd(WatchedGame& watched) {
    for (int steps = 0; watched.step() != WatchedGame::kEnded; ++steps)
        ASSERT_LT(steps, 1000) << "the watched game never ends";
}

// Steps until the view colours its `pieces`-th piece.
void playToPiece(WatchedGame& watched, const CMekkView& view, int pieces) {
    while (view.gamePhase != kColouring || view.pieceCount < pieces)
        ASSERT_NE(watched.step(), WatchedGame::kEnded);
}

// Every score of the history and every column's count.
std::vector<int> historyOf(const CMekkView& v) {
    std::vector<int> h(v.historyCount, v.historyCount + 4);
    h.insert(h.end(), &v.historyList[0][0], &v.historyList[0][0] + 4 * kHistoryRows);
    return h;
}

std::vector<int> drawnPath(const CMekkView& v) {
    return std::vector<int>(v.path + 1, v.path + v.pathLength + 1);
}

class WatchedGameOf : public ::testing::TestWithParam<int> {};

INSTANTIATE_TEST_SUITE_P(Shapes, WatchedGameOf, ::testing::Values(4, 6, 8, 10),
                         [](const auto& shape) { return std::to_string(shape.param); });

} // namespace

// After a player's game of the shape: the solver's lines from the red start vertex, every piece
// coloured, at least the shape's highest score shown, and the history as it stood.
TEST_P(WatchedGameOf, EndsOnTheScorePageWithTheSolversLinesAndEveryPieceColoured) {
    const int n = GetParam();
    GameDriver game(kSolverClientSize);
    game.view.OnCommand(kCmdSoundOff);
    game.startGame(n, 1);
    game.drawPath({2, 3});
    game.end();
    game.end();
    const std::vector<int> history = historyOf(game.view);
    ASSERT_EQ(history[std::size_t(n - 4) / 2], 1);

    WatchedGame watched(game.view);
    ASSERT_EQ(watched.start(n), WatchedGame::kStartBeat);
    EXPECT_EQ(game.view.path[1], watched.path().vertices.front()) << "the red start vertex";
    playToEnd(watched);

    EXPECT_FALSE(watched.playing());
    EXPECT_EQ(game.view.gamePhase, kFinished);
    EXPECT_FALSE(game.view.gameAborted);
    EXPECT_EQ(drawnPath(game.view), watched.path().vertices);
    EXPECT_EQ(game.view.pathLength - 1, maxLines(n));
    EXPECT_EQ(game.uncolouredPieces(), 0);
    EXPECT_GE(game.view.score, 100 * difficultyFactor(n));
    EXPECT_EQ(game.errorSounds(), 0);
    EXPECT_EQ(historyOf(game.view), history) << "the watched score went in";
    EXPECT_EQ(game.repaint(), game.screen());
}

// At the player's own window size the pieces are those the canvas shows there: the same clicks
// as the solver's game played at that size.
TEST(WatchedGame, ColoursThePiecesTheCanvasShowsAtThePlayersWindowSize) {
    for (const Size size : {Size{1016, 700}, Size{640, 482}}) {
        for (const int n : {8, 10}) {
            GameDriver game(size);
            game.view.OnCommand(kCmdSoundOff);
            WatchedGame watched(game.view);
            watched.start(n);
            playToEnd(watched);
            const PerfectGame solver = playPerfectPath(watched.path(), size);
            ASSERT_EQ(game.view.pieceCount, solver.pieces) << n << " at " << size.cx;
            for (int k = 0; k < solver.pieces; ++k)
                EXPECT_EQ(game.view.pieceSeed[k], solver.pieceSeeds[std::size_t(k)]);
            EXPECT_EQ(game.uncolouredPieces(), 0);
        }
    }
}

// The repaint property at every step, and every note as a played game plays it: one per piece,
// in the tune's order, each after the filled piece is on the screen.
TEST(WatchedGame, EveryStepRepaintsAsDrawnAndEveryPiecePlaysItsNote) {
    GameDriver game(kSolverClientSize);
    game.view.tuneIndex = 3;
    WatchedGame watched(game.view);
    for (int beat = watched.start(6); beat != WatchedGame::kEnded; beat = watched.step())
        ASSERT_EQ(game.repaint(), game.screen())
            << "at pathLength " << game.view.pathLength << ", piece " << game.view.pieceCount;
    EXPECT_EQ(game.repaint(), game.screen());

    const int pieces = game.view.pieceCount;
    const std::int32_t* tune = tuneRow(3);
    std::vector<fake::PlayedSound> expected;
    for (int k = 0; k < pieces; ++k)
        expected.push_back({game.view.noteResource[tune[k % tune[0] + 1]], true});
    EXPECT_EQ(game.platform.sounds, expected);
    const std::vector<int>& presents = game.platform.presentsBeforeSyncSound;
    for (std::size_t k = 1; k < presents.size(); ++k)
        EXPECT_GT(presents[k], presents[k - 1]);
}

// After a watched game Enter is the player's own game of the shape, whose score is appended as
// always; a watched game after that leaves it where it is.
TEST(WatchedGame, APlayersGameAfterItStillGoesIntoTheHistory) {
    GameDriver game;
    game.view.OnCommand(kCmdSoundOff);
    WatchedGame watched(game.view);
    watched.start(4);
    playToEnd(watched);
    ASSERT_NE(game.view.score, 0);

    game.view.OnKeyDown(vk::Return);
    EXPECT_EQ(game.view.gamePhase, kDrawing);
    EXPECT_EQ(game.view.pathLength, 1);
    game.drawPath({game.view.path[1] % 4 + 1});
    game.end();
    game.end();
    EXPECT_EQ(game.view.historyCount[0], 1);
    EXPECT_EQ(game.view.historyList[0][1], 0);

    watched.start(4);
    playToEnd(watched);
    EXPECT_EQ(game.view.historyCount[0], 1);
}

// Starting again while a watched game plays, in its lines or its colouring, plays the new one
// cleanly; stopping one shows the home page; a view that left the watched game is not touched.
TEST(WatchedGame, RestartsAndStopsCleanly) {
    GameDriver game(kSolverClientSize);
    game.view.OnCommand(kCmdSoundOff);
    WatchedGame watched(game.view);

    watched.start(10);
    for (int k = 0; k < 5; ++k)
        watched.step();
    watched.start(4);
    playToPiece(watched, game.view, 1);
    watched.start(6);
    EXPECT_EQ(game.view.pathLength, 1);
    EXPECT_EQ(game.repaint(), game.screen());
    playToEnd(watched);
    EXPECT_EQ(drawnPath(game.view), watched.path().vertices);
    EXPECT_EQ(game.uncolouredPieces(), 0);
    EXPECT_GE(game.view.score, 200);
    EXPECT_EQ(game.view.historyCount[1], 0);

    watched.start(8);
    playToPiece(watched, game.view, 3);
    watched.stop();
    EXPECT_FALSE(watched.playing());
    EXPECT_EQ(game.view.currentPage, kHomePage);
    EXPECT_EQ(game.view.gamePhase, kDrawing);
    EXPECT_EQ(game.view.colourIndex, 0);
    EXPECT_EQ(game.repaint(), game.screen());
    EXPECT_EQ(watched.step(), WatchedGame::kEnded);

    // Once over, a stop leaves the score page as it is.
    watched.start(4);
    playToEnd(watched);
    const Canvas scorePage = game.screen();
    watched.stop();
    EXPECT_EQ(game.screen(), scorePage);

    // End pressed behind the watched game's back: its next step ends it and clicks nothing.
    watched.start(6);
    watched.step();
    game.end();
    const Canvas board = game.screen();
    EXPECT_EQ(watched.step(), WatchedGame::kEnded);
    EXPECT_FALSE(watched.playing());
    EXPECT_EQ(game.screen(), board);
}

TEST(WatchedGame, NothingStartsWithoutAShapeOrBeforeTheFirstPaint) {
    GameDriver game;
    WatchedGame watched(game.view);
    for (const int n : {0, 3, 5, 12, -4})
        EXPECT_EQ(watched.start(n), WatchedGame::kEnded) << n;
    EXPECT_FALSE(watched.playing());
    EXPECT_EQ(game.view.currentPage, kHomePage);

    fake::FakePlatform platform;
    CMekkView unpainted(platform);
    EXPECT_EQ(WatchedGame(unpainted).start(6), WatchedGame::kEnded);
    EXPECT_EQ(platform.presents, 0);
}
