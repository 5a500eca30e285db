// A watched perfect game on the player's own view: played step by step through the handlers to
// the score page, with its notes, kept out of the history, and stopped or restarted cleanly.
#include "game/WatchedGame.h"
#include "game/ShapeTable.h"
#include "game/Solver.h"
#include "support/GameDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

using namespace tess;
using tess::test::GameDriver;

namespace {

constexpr int kShapes[] = {4, 6, 8, 10};

// Steps until the watched game ends; fails the test rather than loop for ever.
void playToEnd(WatchedGame& watched) {
    for (int steps = 0; watched.step() != WatchedGame::kEnded; ++steps)
        ASSERT_LT(steps, 1000) << "the watched game never ends";
}

struct History {
    int count[4];
    int list[4][kHistoryRows];
    explicit History(const CMekkView& v) {
        std::memcpy(count, v.historyCount, sizeof count);
        std::memcpy(list, v.historyList, sizeof list);
    }
    bool operator==(const History& o) const {
        return std::memcmp(count, o.count, sizeof count) == 0 &&
               std::memcmp(list, o.list, sizeof list) == 0;
    }
};

std::vector<int> drawnPath(const CMekkView& v) {
    return std::vector<int>(v.path + 1, v.path + v.pathLength + 1);
}

// White pixels inside the frame that a fill from the probe point does not reach: pieces left
// uncoloured.
int uncolouredPixels(GameDriver& game) {
    Canvas outside = game.screen();
    DrawingContext dc(outside);
    dc.selectBrush(Brush{Colour(1, 2, 3)});
    const Point probe = game.view.layout.outsidePoint[game.view.vertexCount];
    dc.floodFill(probe.x, probe.y, kBlack);
    int left = 0;
    const Rect f = game.frame();
    for (int y = f.top; y <= f.bottom; ++y)
        for (int x = f.left; x <= f.right; ++x)
            if (game.screen().pixel(x, y) == kWhite && outside.pixel(x, y) == kWhite) ++left;
    return left;
}

class WatchedGameOf : public ::testing::TestWithParam<int> {};

INSTANTIATE_TEST_SUITE_P(Shapes, WatchedGameOf, ::testing::ValuesIn(kShapes),
                         [](const auto& shape) { return std::to_string(shape.param); });

} // namespace

// The whole game at the solver's client area, after a player's game of the same shape: the
// solver's lines, every piece coloured, the highest score shown and the history as it stood.
TEST_P(WatchedGameOf, EndsOnTheScorePageWithTheSolversLinesAndEveryPieceColoured) {
    const int n = GetParam();
    GameDriver game(kSolverClientSize);
    game.view.OnCommand(kCmdSoundOff);
    game.startGame(n, 1);
    game.drawPath({2, 3});
    game.end();
    game.end();
    ASSERT_EQ(game.view.gamePhase, kFinished);
    const History before(game.view);

    WatchedGame watched(game.view);
    ASSERT_EQ(watched.start(n), WatchedGame::kStartBeat);
    EXPECT_TRUE(watched.playing());
    EXPECT_EQ(game.view.currentPage, kGamePage);
    EXPECT_EQ(game.view.gamePhase, kDrawing);
    EXPECT_EQ(game.view.path[1], watched.path().vertices.front()) << "the red start vertex";
    playToEnd(watched);

    EXPECT_FALSE(watched.playing());
    EXPECT_EQ(game.view.gamePhase, kFinished);
    EXPECT_FALSE(game.view.gameAborted);
    EXPECT_EQ(drawnPath(game.view), watched.path().vertices);
    EXPECT_EQ(game.view.pathLength - 1, maxLines(n));
    EXPECT_EQ(uncolouredPixels(game), 0);
    EXPECT_GE(game.view.score, 100 * difficultyFactor(n));
    EXPECT_EQ(game.errorSounds(), 0);
    EXPECT_TRUE(History(game.view) == before) << "the watched score went into the history";
    EXPECT_TRUE(game.view.scoreToHistory);
    EXPECT_EQ(game.repaint(), game.screen());
}

// At the player's own window size the pieces are those the canvas shows there: the same
// clicks as the solver's game played at that size.
TEST(WatchedGame, ColoursThePiecesTheCanvasShowsAtThePlayersWindowSize) {
    for (const Size size : {Size{1016, 700}, Size{640, 482}}) {
        for (const int n : {8, 10}) {
            GameDriver game(size);
            game.view.OnCommand(kCmdSoundOff);
            WatchedGame watched(game.view);
            ASSERT_NE(watched.start(n), WatchedGame::kEnded);
            playToEnd(watched);
            const PerfectGame solver = playPerfectPath(watched.path(), size);
            ASSERT_EQ(game.view.pieceCount, solver.pieces) << n << " at " << size.cx;
            for (int k = 0; k < solver.pieces; ++k)
                EXPECT_EQ(game.view.pieceSeed[k], solver.pieceSeeds[std::size_t(k)]);
            EXPECT_EQ(game.view.gamePhase, kFinished);
            EXPECT_EQ(uncolouredPixels(game), 0);
        }
    }
}

// The repaint property at every step, and every note as a played game plays it: one per piece,
// in the tune's order, after the filled piece is on the screen.
TEST(WatchedGame, EveryStepRepaintsAsDrawnAndEveryPiecePlaysItsNote) {
    GameDriver game(kSolverClientSize);
    game.view.tuneIndex = 3;
    WatchedGame watched(game.view);
    int beat = watched.start(6);
    std::vector<int> beats;
    while (beat != WatchedGame::kEnded) {
        ASSERT_EQ(game.repaint(), game.screen()) << "after " << beats.size() << " steps";
        beats.push_back(beat);
        beat = watched.step();
    }
    EXPECT_EQ(game.repaint(), game.screen());

    const int pieces = game.view.pieceCount;
    ASSERT_GT(pieces, 0);
    // The start, 13 lines, End, then one beat per piece.
    ASSERT_EQ(beats.size(), std::size_t(1 + 13 + 1 + pieces));
    EXPECT_EQ(std::count(beats.begin(), beats.end(), WatchedGame::kPieceBeat), pieces);

    // Tune 4's notes in turn, starting over after its last.
    const std::int32_t* tune = tuneRow(3);
    std::vector<fake::PlayedSound> expected;
    for (int k = 0; k < pieces; ++k)
        expected.push_back({game.view.noteResource[tune[k % tune[0] + 1]], true});
    EXPECT_EQ(game.platform.sounds, expected);
    ASSERT_EQ(game.platform.presentsBeforeSyncSound.size(), std::size_t(pieces));
    for (std::size_t k = 1; k < game.platform.presentsBeforeSyncSound.size(); ++k)
        EXPECT_GT(game.platform.presentsBeforeSyncSound[k],
                  game.platform.presentsBeforeSyncSound[k - 1]);
}

// After a watched game Enter and Home work as after a played one, and the player's next
// score is appended as always.
TEST(WatchedGame, APlayersGameAfterItStillGoesIntoTheHistory) {
    GameDriver game;
    game.view.OnCommand(kCmdSoundOff);
    WatchedGame watched(game.view);
    watched.start(4);
    playToEnd(watched);
    const int watchedScore = game.view.score;
    ASSERT_EQ(game.view.historyCount[0], 0);

    game.view.OnKeyDown(vk::Return);
    EXPECT_EQ(game.view.gamePhase, kDrawing);
    EXPECT_EQ(game.view.vertexCount, 4);
    EXPECT_EQ(game.view.pathLength, 1);
    game.end();
    game.end();
    EXPECT_EQ(game.view.historyCount[0], 1);
    EXPECT_EQ(game.view.historyList[0][1], 0);
    EXPECT_NE(watchedScore, 0);

    // A second watched game leaves that score where it is; Home then shows the home page.
    watched.start(4);
    playToEnd(watched);
    EXPECT_EQ(game.view.historyCount[0], 1);
    game.view.OnKeyDown(vk::Home);
    EXPECT_EQ(game.view.currentPage, kHomePage);
}

// Starting again while a watched game plays, at any stage, plays the new one cleanly from its
// start; stopping one shows the home page; a view that left the watched game is not touched.
TEST(WatchedGame, RestartsAndStopsCleanly) {
    GameDriver game(kSolverClientSize);
    game.view.OnCommand(kCmdSoundOff);
    const History before(game.view);
    WatchedGame watched(game.view);

    // Restarted in the middle of its lines, then in the middle of its colouring.
    watched.start(10);
    for (int k = 0; k < 5; ++k)
        watched.step();
    watched.start(4);
    while (game.view.gamePhase != kColouring || game.view.pieceCount < 1)
        ASSERT_NE(watched.step(), WatchedGame::kEnded);
    ASSERT_EQ(watched.start(6), WatchedGame::kStartBeat);
    EXPECT_EQ(game.view.vertexCount, 6);
    EXPECT_EQ(game.view.pathLength, 1);
    EXPECT_EQ(game.repaint(), game.screen());
    playToEnd(watched);
    EXPECT_EQ(game.view.gamePhase, kFinished);
    EXPECT_EQ(drawnPath(game.view), watched.path().vertices);
    EXPECT_EQ(uncolouredPixels(game), 0);
    EXPECT_GE(game.view.score, 200);
    EXPECT_TRUE(History(game.view) == before);

    // Stopped while colouring: the home page, the colour cycle from its start.
    watched.start(8);
    while (game.view.pieceCount < 3 || game.view.gamePhase != kColouring)
        ASSERT_NE(watched.step(), WatchedGame::kEnded);
    watched.stop();
    EXPECT_FALSE(watched.playing());
    EXPECT_EQ(game.view.currentPage, kHomePage);
    EXPECT_EQ(game.view.gamePhase, kDrawing);
    EXPECT_EQ(game.view.colourIndex, 0);
    EXPECT_EQ(game.repaint(), game.screen());
    EXPECT_EQ(watched.step(), WatchedGame::kEnded);
    EXPECT_TRUE(History(game.view) == before);

    // Stop after the end leaves the score page as it is.
    watched.start(4);
    playToEnd(watched);
    const Canvas scorePage = game.screen();
    watched.stop();
    EXPECT_EQ(game.view.currentPage, kGamePage);
    EXPECT_EQ(game.screen(), scorePage);

    // The game moved on without the watcher (End pressed by someone else): the next step
    // ends the watched game and clicks nothing.
    watched.start(6);
    watched.step();
    game.end();
    const int lines = game.view.pathLength;
    const Canvas board = game.screen();
    EXPECT_EQ(watched.step(), WatchedGame::kEnded);
    EXPECT_FALSE(watched.playing());
    EXPECT_EQ(game.view.pathLength, lines);
    EXPECT_EQ(game.screen(), board);
}

TEST(WatchedGame, NothingStartsWithoutAShapeOrBeforeTheFirstPaint) {
    GameDriver game;
    WatchedGame watched(game.view);
    for (const int n : {0, 3, 5, 12, -4}) {
        EXPECT_EQ(watched.start(n), WatchedGame::kEnded) << n;
        EXPECT_FALSE(watched.playing());
    }
    EXPECT_EQ(game.view.currentPage, kHomePage);

    fake::FakePlatform platform;
    CMekkView unpainted(platform);
    WatchedGame early(unpainted);
    EXPECT_EQ(early.start(6), WatchedGame::kEnded);
    EXPECT_EQ(unpainted.currentPage, kHomePage);
    EXPECT_EQ(platform.presents, 0);
}
