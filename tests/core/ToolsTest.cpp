// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The piece colours, the one-time fitting of the piece brushes, and the fixed pens and brushes.
#include "game/CMekkView.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

using namespace tess;

TEST(PiecePalette, HoldsTheTableColours) {
    fake::FakePlatform platform;
    CMekkView view(platform);
    struct Entry {
        int number;
        Colour colour;
    };
    // Several entries of each column of the table, its ends, and the four entries that break
    // the run of their neighbours (9, 13, 47, 56).
    const Entry entries[] = {
        {0, {240, 240, 100}},  {1, {240, 160, 100}},  {3, {240, 0, 100}},    {8, {220, 220, 100}},
        {9, {255, 100, 170}},  {13, {205, 105, 205}}, {19, {100, 0, 240}},   {26, {144, 144, 80}},
        {27, {144, 144, 0}},   {31, {144, 0, 144}},   {35, {0, 144, 144}},   {42, {255, 180, 180}},
        {47, {160, 240, 100}}, {48, {170, 255, 100}}, {53, {205, 165, 105}}, {54, {205, 90, 105}},
        {55, {205, 10, 105}},  {56, {100, 240, 160}}, {59, {205, 105, 10}},  {64, {255, 255, 192}},
        {71, {255, 192, 155}}, {76, {245, 255, 172}}, {79, {155, 255, 192}}, {80, {125, 225, 182}},
    };
    for (const Entry& e : entries)
        EXPECT_EQ(view.piecePalette[e.number], e.colour) << "colour " << e.number;

    // No piece colour is white or black: a coloured piece must never read as uncoloured,
    // and never bound a later fill.
    for (const Colour& c : view.piecePalette) {
        EXPECT_NE(c, kWhite);
        EXPECT_NE(c, kBlack);
    }
}

TEST(PieceBrushes, AreFittedOnceAtTheFirstPaintThatNeedsThem) {
    fake::FakePlatform platform;
    CMekkView view(platform);
    EXPECT_EQ(view.pieceBrushesMade, 0);
    for (const Brush& b : view.pieceBrush)
        EXPECT_FALSE(b.made);

    Canvas canvas(10, 10);
    DrawingContext dc(canvas);
    view.fitPieceColours(dc);
    EXPECT_EQ(view.pieceBrushesMade, 1);
    for (int c = 0; c <= 80; ++c) {
        EXPECT_EQ(view.nearestColour[c], view.piecePalette[c]) << c; // a 24-bit canvas
        EXPECT_TRUE(view.pieceBrush[c].made) << c;
        EXPECT_EQ(view.pieceBrush[c].colour, view.piecePalette[c]) << c;
    }
    for (int c = 81; c < 102; ++c)
        EXPECT_FALSE(view.pieceBrush[c].made) << c;

    // A second fitting, even after the palette changed, changes nothing.
    view.piecePalette[5] = Colour(1, 2, 3);
    view.piecePalette[80] = Colour(4, 5, 6);
    view.fitPieceColours(dc);
    EXPECT_EQ(view.pieceBrush[5].colour, Colour(240, 100, 160));
    EXPECT_EQ(view.nearestColour[5], Colour(240, 100, 160));
    EXPECT_EQ(view.pieceBrush[80].colour, Colour(125, 225, 182));
    for (int c = 81; c < 102; ++c)
        EXPECT_FALSE(view.pieceBrush[c].made) << c;
}

TEST(DrawingTools, PensAndBrushesAreMadeAtConstruction) {
    fake::FakePlatform platform;
    CMekkView view(platform);
    EXPECT_EQ(view.thinPen.width, 1);
    EXPECT_EQ(view.mediumPen.width, 2);
    EXPECT_EQ(view.thickPen.width, 4);
    EXPECT_EQ(view.redPen.width, 1);
    for (const Pen* pen : {&view.thinPen, &view.mediumPen, &view.thickPen})
        EXPECT_EQ(pen->colour, kBlack);
    EXPECT_EQ(view.redPen.colour, Colour(255, 0, 0));

    EXPECT_EQ(view.redBrush.colour, Colour(255, 72, 72));
    EXPECT_EQ(view.lavenderBrush.colour, Colour(220, 220, 240));
    EXPECT_EQ(view.whiteBrush.colour, kWhite);
    EXPECT_EQ(view.pinkBrush.colour, Colour(255, 240, 240));
    for (const Brush* b : {&view.redBrush, &view.lavenderBrush, &view.whiteBrush, &view.pinkBrush})
        EXPECT_TRUE(b->made);
}
