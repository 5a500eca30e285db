// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The vertex click: which vertex a click hits, which lines are refused, and what a line
// draws.
#include "game/ShapeTable.h"
#include "support/GameDriver.h"

#include <gtest/gtest.h>

using namespace tess;
using tess::test::GameDriver;

namespace {

// A Square game from vertex 1 on a 1016 x 700 window (u = 11, circles 16 pixels wide).
struct SquareGame : ::testing::Test {
    GameDriver game;
    void SetUp() override { game.startGame(4, 1); }
};

} // namespace

TEST_F(SquareGame, StartsWithTheStartVertexAndNoLine) {
    EXPECT_EQ(game.view.pathLength, 1);
    EXPECT_EQ(game.view.path[1], 1);
    EXPECT_EQ(game.circle(1), (Rect{55, 99, 71, 115}));
    // The current vertex is red, the others lavender.
    EXPECT_EQ(game.screen().pixel(63, 107), Colour(255, 72, 72));
    Point c4 = game.centre(4);
    EXPECT_EQ(game.screen().pixel(c4.x, c4.y), Colour(220, 220, 240));
}

TEST_F(SquareGame, AcceptedLineIsAppendedAndDrawn) {
    game.clickVertex(2);
    EXPECT_EQ(game.view.pathLength, 2);
    EXPECT_EQ(game.view.path[2], 2);
    EXPECT_EQ(game.errorSounds(), 0);
    // The line runs between the two centres, and vertex 2 is the red one now.
    Point mid{(game.centre(1).x + game.centre(2).x) / 2, game.centre(1).y};
    EXPECT_EQ(game.screen().pixel(mid.x, mid.y), kBlack);
    EXPECT_EQ(game.screen().pixel(game.centre(2).x, game.centre(2).y), Colour(255, 72, 72));
    EXPECT_EQ(game.screen().pixel(game.centre(1).x, game.centre(1).y), Colour(220, 220, 240));
}

TEST_F(SquareGame, HitTestIsStrictOnTheSquareButTakesItsCorners) {
    const Rect r = game.circle(2);
    // Each edge of the square, and one pixel outside it, hits nothing, silently.
    const Point misses[] = {{r.left, r.top + 8},
                            {r.right, r.top + 8},
                            {r.left + 8, r.top},
                            {r.left + 8, r.bottom},
                            {r.left - 1, r.top + 8}};
    for (Point p : misses) {
        game.click(p);
        EXPECT_EQ(game.view.pathLength, 1) << p.x << "," << p.y;
    }
    EXPECT_TRUE(game.platform.sounds.empty());
    // The square's corner, outside the drawn circle, counts.
    EXPECT_EQ(game.screen().pixel(r.left + 1, r.top + 1), kWhite);
    game.click(r.left + 1, r.top + 1);
    EXPECT_EQ(game.view.pathLength, 2);
    EXPECT_EQ(game.view.path[2], 2);
    // So does the opposite inner corner.
    const Rect r4 = game.circle(4);
    game.click(r4.right - 1, r4.bottom - 1);
    EXPECT_EQ(game.view.path[3], 4);
}

TEST_F(SquareGame, RefusedClicksChangeNeitherStateNorPicture) {
    // The current vertex, at the very start.
    const Canvas before = game.screen();
    game.clickVertex(1);
    EXPECT_EQ(game.view.pathLength, 1);
    EXPECT_EQ(game.errorSounds(), 1);
    EXPECT_TRUE(game.screen() == before);

    game.drawPath({2, 4, 3});
    const Canvas drawn = game.screen();
    // Straight back along the previous line: 3 -> 4 after 4 -> 3.
    game.clickVertex(4);
    EXPECT_EQ(game.view.pathLength, 4);
    EXPECT_EQ(game.view.path[5], 0) << "the tried slot holds 0 again";
    EXPECT_EQ(game.errorSounds(), 2);
    EXPECT_TRUE(game.screen() == drawn);

    game.clickVertex(1); // 3 -> 1, new
    EXPECT_EQ(game.view.pathLength, 5);
    const Canvas five = game.screen();
    game.clickVertex(2); // 1 -> 2 repeats the first line
    EXPECT_EQ(game.view.pathLength, 5);
    EXPECT_EQ(game.view.path[6], 0);
    EXPECT_EQ(game.errorSounds(), 3);
    EXPECT_TRUE(game.screen() == five);
    // The same error sound for every refusal, played asynchronously.
    for (const auto& s : game.platform.sounds) {
        EXPECT_EQ(s.resource, 101);
        EXPECT_FALSE(s.synchronous);
    }
}

TEST_F(SquareGame, ReverseOfAnEarlyLineIsRefused) {
    game.drawPath({2, 4, 1}); // lines 1-2, 2-4, 4-1
    ASSERT_EQ(game.view.pathLength, 4);
    game.clickVertex(2); // 1 -> 2: the first line again, from the same end
    EXPECT_EQ(game.view.pathLength, 4);
    game.clickVertex(3); // 1 -> 3 new
    game.clickVertex(4); // 3 -> 4 new
    game.clickVertex(2); // 4 -> 2 is 2 -> 4 reversed
    EXPECT_EQ(game.view.pathLength, 6);
    EXPECT_EQ(game.errorSounds(), 2);
}

TEST_F(SquareGame, AFullPathRefusesEveryFurtherVertex) {
    game.drawPath({2, 4, 3, 1, 4}); // all four sides and one diagonal
    ASSERT_EQ(game.view.pathLength, 1 + maxLines(4));
    for (int v = 1; v <= 4; ++v)
        game.clickVertex(v);
    EXPECT_EQ(game.view.pathLength, 6);
    EXPECT_EQ(game.errorSounds(), 4);
}

TEST(Lines, FirstVertexHitInOrderWins) {
    GameDriver game;
    game.startGame(4, 1);
    // Two squares that overlap: the lower-numbered vertex takes the click.
    game.view.layout.vertexCircle[4][3] = game.view.layout.vertexCircle[4][2];
    game.click(game.centre(2));
    EXPECT_EQ(game.view.path[2], 2);
}

TEST(Lines, HandlersDrawWhatARepaintDraws) {
    for (int shape : {4, 6, 8, 10}) {
        GameDriver game;
        game.startGame(shape, 1);
        EXPECT_TRUE(game.screen() == game.repaint()) << "shape " << shape;
        // A walk round the shape and back across it.
        for (int v = 2; v <= shape; ++v)
            game.clickVertex(v);
        game.clickVertex(1);
        game.clickVertex(shape / 2 + 1);
        game.clickVertex(1); // refused: straight back
        EXPECT_EQ(game.view.pathLength, shape + 2) << "shape " << shape;
        EXPECT_TRUE(game.screen() == game.repaint()) << "shape " << shape;
    }
}
