// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The colouring phase: End's frame, which clicks fill a piece, the leak test, the colour
// cycle, the per-piece note, the tune box, and the limit of the record.
#include "game/ShapeTable.h"
#include "support/GameDriver.h"

#include <gtest/gtest.h>

using namespace tess;
using tess::test::GameDriver;

namespace {

const Colour kPink{255, 240, 240};
const Colour kRed{255, 0, 0};

// A Square from vertex 1 on a 1016 x 700 window: frame (33, 77, 511, 555), probe point
// (44, 88), vertex centres (63, 107), (481, 107), (63, 525), (481, 525).
struct SquareColouring : ::testing::Test {
    GameDriver game;
    Point c1, c2, c3, c4, middle;

    // All four sides and the diagonal 1-4: two closed triangles.
    void SetUp() override {
        game.startGame(4, 1);
        game.drawPath({2, 4, 3, 1, 4});
        c1 = game.centre(1);
        c2 = game.centre(2);
        c3 = game.centre(3);
        c4 = game.centre(4);
        middle = {(c1.x + c4.x) / 2, (c1.y + c4.y) / 2};
        game.end();
    }
    Point upperTriangle() const { return game.inside(c1, c2, c4); }
    Point lowerTriangle() const { return game.inside(c1, c3, c4); }
    Colour pieceColour(int c) const { return game.view.pieceBrush[c].colour; }
};

} // namespace

TEST_F(SquareColouring, EndDrawsTheFrameSwatchCountersAndTuneBox) {
    EXPECT_EQ(game.view.gamePhase, kColouring);
    EXPECT_EQ(game.view.pieceCount, 0);
    const Rect f = game.frame();
    EXPECT_EQ(f, (Rect{33, 77, 511, 555}));
    // The frame's lines pass through its corners' coordinates on all four sides.
    EXPECT_EQ(game.screen().pixel(f.left, 300), kBlack);
    EXPECT_EQ(game.screen().pixel(f.right, 300), kBlack);
    EXPECT_EQ(game.screen().pixel(200, f.top), kBlack);
    EXPECT_EQ(game.screen().pixel(200, f.bottom), kBlack);
    const Rect swatch = game.view.layout.swatchRect[4];
    EXPECT_EQ(game.screen().pixel(swatch.left + 1, swatch.top + 1), pieceColour(0));
    const Rect box = game.tuneBox();
    EXPECT_EQ(game.screen().pixel(box.left, box.top + 1), kRed);
    EXPECT_EQ(game.screen().pixel(box.left + 1, box.top + 1), kPink);
    EXPECT_TRUE(game.screen() == game.repaint());
}

TEST_F(SquareColouring, ClosedPiecesAreFilledCountedAndRecorded) {
    const Point upper = upperTriangle();
    const Point lower = lowerTriangle();
    game.click(upper);
    game.click(lower);
    EXPECT_EQ(game.errorSounds(), 0);
    EXPECT_EQ(game.view.pieceCount, 2);
    EXPECT_EQ(game.view.pieceSeed[0], upper);
    EXPECT_EQ(game.view.pieceSeed[1], lower);
    EXPECT_EQ(game.view.pieceColour[1], 0);
    EXPECT_EQ(game.view.pieceColour[2], 1);
    EXPECT_EQ(game.view.colourIndex, 2);
    // Each triangle is filled right up to its sides, the other stays apart.
    EXPECT_EQ(game.screen().pixel(upper.x, upper.y), pieceColour(0));
    EXPECT_EQ(game.screen().pixel(c4.x - 2, c1.y + 30), pieceColour(0));
    EXPECT_EQ(game.screen().pixel(lower.x, lower.y), pieceColour(1));
    EXPECT_EQ(game.screen().pixel(c1.x + 2, c4.y - 30), pieceColour(1));
    // The open space round the shape is untouched.
    EXPECT_EQ(game.screen().pixel(44, 88), kWhite);
    const Rect swatch = game.view.layout.swatchRect[4];
    EXPECT_EQ(game.screen().pixel(swatch.left + 1, swatch.top + 1), pieceColour(2));
    EXPECT_TRUE(game.screen() == game.repaint());
}

TEST_F(SquareColouring, ClicksOnAnythingButAWhitePixelInsideTheFrameAreRefused) {
    game.click(upperTriangle());
    const Canvas before = game.screen();
    const Rect f = game.frame();
    const Point refused[] = {
        upperTriangle(),             // a piece already coloured
        middle,                      // the diagonal
        {c1.x, c1.y},                // inside a lavender circle
        {c4.x, c4.y},                // inside the red circle
        {f.left, 300},               // the frame itself, which counts as inside
        {f.right, 300},              //
        {f.left - 1, 300},           // white, but outside the frame
        {f.right + 1, 300},          //
        {200, f.top - 1},            //
        {200, f.bottom + 1},         //
        {f.right + 100, f.top + 50}, // far right of the board
    };
    for (Point p : refused)
        game.click(p);
    EXPECT_EQ(game.errorSounds(), int(std::size(refused)));
    EXPECT_EQ(game.view.pieceCount, 1);
    EXPECT_EQ(game.view.colourIndex, 1);
    EXPECT_EQ(game.view.gamePhase, kColouring);
    EXPECT_TRUE(game.screen() == before);
}

TEST_F(SquareColouring, AFillInTheOpenSpaceAbortsTheGame) {
    game.click(upperTriangle());
    const int historyBefore = game.view.historyCount[0];
    const int scoreBefore = game.view.score;
    game.click(40, 300); // between the left side and the frame
    EXPECT_EQ(game.view.gamePhase, kFinished);
    EXPECT_TRUE(game.view.gameAborted);
    EXPECT_EQ(game.errorSounds(), 1);
    EXPECT_EQ(game.view.pieceCount, 1);
    EXPECT_EQ(game.view.colourIndex, 1);
    EXPECT_EQ(game.view.historyCount[0], historyBefore);
    EXPECT_EQ(game.view.score, scoreBefore);
    // The escaped colour fills the space round the shape; swatch and tune box are gone.
    EXPECT_EQ(game.screen().pixel(44, 88), pieceColour(1));
    const Rect swatch = game.view.layout.swatchRect[4];
    EXPECT_EQ(game.screen().pixel(swatch.left + 1, swatch.top + 1), kWhite);
    EXPECT_EQ(game.screen().pixel(game.tuneBox().left, game.tuneBox().top + 1), kWhite);

    // A click in Finished does nothing; Enter starts the same shape again.
    const Canvas aborted = game.screen();
    game.click(lowerTriangle());
    EXPECT_TRUE(game.screen() == aborted);
    game.view.OnKeyDown(vk::Return);
    EXPECT_EQ(game.view.gamePhase, kDrawing);
    EXPECT_EQ(game.view.vertexCount, 4);
    EXPECT_FALSE(game.view.gameAborted);
}

TEST(Colouring, APieceThatAnUndrawnSideLeavesOpenLeaks) {
    GameDriver game;
    game.startGame(4, 1);
    game.drawPath({4, 2, 3, 1, 2}); // both diagonals, every side but the bottom
    game.end();
    const Point c1 = game.centre(1), c2 = game.centre(2), c3 = game.centre(3), c4 = game.centre(4);
    const Point middle{(c1.x + c4.x) / 2, (c1.y + c4.y) / 2};
    game.click(game.inside(c1, c2, middle)); // top
    game.click(game.inside(c1, c3, middle)); // left
    game.click(game.inside(c2, c4, middle)); // right
    EXPECT_EQ(game.view.pieceCount, 3);
    EXPECT_EQ(game.view.gamePhase, kColouring);
    game.click(game.inside(c3, c4, middle)); // bottom, open to the space round the shape
    EXPECT_EQ(game.view.gamePhase, kFinished);
    EXPECT_TRUE(game.view.gameAborted);
    EXPECT_EQ(game.view.pieceCount, 3);
}

TEST(Colouring, EveryClosedAreaOfARealSquareCountsAsAPiece) {
    GameDriver game;
    game.startGame(4, 1);
    game.drawPath({2, 4, 3, 1, 4});
    game.end();
    // Find the areas the open space does not reach, on a copy of the screen.
    Canvas probe = game.screen();
    DrawingContext dc(probe);
    dc.selectBrush(Brush{Colour(1, 1, 1)});
    const Point out = game.view.layout.outsidePoint[4];
    ASSERT_TRUE(dc.floodFill(out.x, out.y, kBlack));
    const Rect f = game.frame();
    int clicks = 0;
    for (int y = f.top; y <= f.bottom; ++y) {
        for (int x = f.left; x <= f.right; ++x) {
            if (probe.pixel(x, y) != kWhite || game.screen().pixel(x, y) != kWhite) continue;
            game.click(x, y);
            ++clicks;
        }
    }
    // Two triangles and the small pockets where lines leave the circles: all accepted.
    EXPECT_GE(clicks, 2);
    EXPECT_EQ(game.view.pieceCount, clicks);
    EXPECT_EQ(game.errorSounds(), 0);
    EXPECT_EQ(game.view.gamePhase, kColouring);
    EXPECT_TRUE(game.screen() == game.repaint());
}

TEST_F(SquareColouring, ColourCycleRunsFrom1To80AfterColour0) {
    EXPECT_EQ(game.view.colourIndex, 0);
    game.click(upperTriangle());
    EXPECT_EQ(game.view.pieceColour[1], 0);
    EXPECT_EQ(game.view.colourIndex, 1);
    game.view.colourIndex = 80;
    game.click(lowerTriangle());
    EXPECT_EQ(game.view.pieceColour[2], 80);
    EXPECT_EQ(game.view.colourIndex, 1) << "colour 0 is not reused";
    EXPECT_EQ(game.screen().pixel(lowerTriangle().x, lowerTriangle().y), pieceColour(80));
}

TEST_F(SquareColouring, EachPiecePlaysTheTunesNextNoteAndStartsOverAfterTheLast) {
    game.view.tuneIndex = 1; // tune 2, 16 notes
    ASSERT_EQ(tuneRow(1)[0], 16);
    game.view.noteMode = "cut";
    game.view.pieceCount = 16; // as if 16 pieces were coloured before
    game.platform.sounds.clear();
    game.click(upperTriangle());
    EXPECT_EQ(game.view.pieceCount, 17);
    EXPECT_EQ(game.view.noteIndex, 1);
    ASSERT_EQ(game.platform.sounds.size(), 1u);
    EXPECT_EQ(game.platform.sounds[0].resource, game.view.noteResource[tuneRow(1)[1]]);
    EXPECT_FALSE(game.platform.sounds[0].synchronous);

    // With the sound off the piece plays nothing, but a refusal still sounds.
    game.view.soundSwitch = "off";
    game.platform.sounds.clear();
    game.click(lowerTriangle());
    EXPECT_EQ(game.view.noteIndex, 2);
    EXPECT_TRUE(game.platform.sounds.empty());
    game.click(lowerTriangle());
    EXPECT_EQ(game.errorSounds(), 1);
}

TEST_F(SquareColouring, TheTuneBoxReplaysTheTuneAndChangesNothing) {
    game.view.soundSwitch = "off";
    const Canvas before = game.screen();
    const Rect box = game.tuneBox();
    game.click(box.left + 5, box.top + 5);
    const int length = tuneRow(0)[0];
    EXPECT_EQ(int(game.platform.sounds.size()), length - 1);
    EXPECT_EQ(game.errorSounds(), 0);
    for (const auto& s : game.platform.sounds)
        EXPECT_TRUE(s.synchronous);
    EXPECT_EQ(game.view.pieceCount, 0);
    EXPECT_TRUE(game.screen() == before);
    // Its edge is no part of it: a click there is outside the frame.
    game.click(box.left, box.top + 5);
    EXPECT_EQ(game.errorSounds(), 1);
}

TEST_F(SquareColouring, TheRecordTakesAt301Pieces) {
    game.view.pieceCount = 300;
    game.click(upperTriangle());
    EXPECT_EQ(game.view.pieceCount, 301);
    EXPECT_EQ(game.view.pieceSeed[300], upperTriangle());

    // A 302nd piece is refused like a click outside the frame.
    const Canvas before = game.screen();
    const int colour = game.view.colourIndex;
    game.click(lowerTriangle());
    EXPECT_EQ(game.view.pieceCount, 301);
    EXPECT_EQ(game.view.colourIndex, colour);
    EXPECT_EQ(game.errorSounds(), 1);
    EXPECT_TRUE(game.screen() == before);
}
