// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The game on high-density screens: everything sized in fixed pixels grows with the screen's
// pixel ratio (pens, the shape pictures and their buttons, the tune panel's outline), drawn
// sharp by the game itself, while a screen that does not scale keeps every pixel as it was.
#include "game/Solver.h"
#include "screen/Layout.h"
#include "support/EventStorm.h"
#include "support/GameDriver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

using namespace tess;

namespace {

constexpr double kRatios[] = {1.0, 1.25, 1.5, 1.75, 2.0};

// A window of 1016 x 700 desktop pixels on a screen of this ratio, in device pixels.
Size clientAt(double ratio) {
    return {scaledPixels(1016, ratio), scaledPixels(700, ratio)};
}

// The width of the black run that crosses (x, y) along a row.
int blackRunWidth(const Canvas& c, int x, int y) {
    int left = x, right = x;
    while (c.pixel(left - 1, y) == kBlack)
        --left;
    while (c.pixel(right + 1, y) == kBlack)
        ++right;
    return c.pixel(x, y) == kBlack ? right - left + 1 : 0;
}

} // namespace

TEST(HighDensity, FixedPixelSizesRoundToWholePixels) {
    // Pens of 1, 2 and 4 pixels, the pictures' 80 x 94, at the ratios desktops offer.
    struct Row {
        double ratio;
        int pens[3];
        Size picture;
    };
    const Row rows[] = {{1.0, {1, 2, 4}, {80, 94}},   {1.25, {1, 3, 5}, {100, 118}},
                        {1.5, {2, 3, 6}, {120, 141}}, {1.75, {2, 4, 7}, {140, 165}},
                        {2.0, {2, 4, 8}, {160, 188}}, {3.0, {3, 6, 12}, {240, 282}}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.ratio);
        EXPECT_EQ(scaledPixels(1, r.ratio), r.pens[0]);
        EXPECT_EQ(scaledPixels(2, r.ratio), r.pens[1]);
        EXPECT_EQ(scaledPixels(4, r.ratio), r.pens[2]);
        EXPECT_EQ(scaledPixels(80, r.ratio), r.picture.cx);
        EXPECT_EQ(scaledPixels(94, r.ratio), r.picture.cy);
    }
    // No ratio, a shrinking one, or an absurd one, draws as a screen that does not scale or
    // as the densest one there is.
    for (double odd : {0.0, -2.0, 0.5, std::nan("")})
        EXPECT_EQ(scaledPixels(80, odd), 80) << odd;
    EXPECT_EQ(scaledPixels(1, 1e9), 8);
}

TEST(HighDensity, TheHomePageShowsFullSizePicturesThatStartTheirShape) {
    const int shapes[4] = {4, 6, 8, 10};
    for (double ratio : {1.0, 1.5, 2.0}) {
        SCOPED_TRACE(ratio);
        for (int k = 0; k < 4; ++k) {
            fake::FakePlatform platform(clientAt(ratio), ratio);
            CMekkView view(platform);
            view.paint();
            const Layout& l = view.layout;
            const Rect& button = l.shapeButton[k];
            const Canvas& picture = view.shapePicture[k];
            EXPECT_EQ(picture.width(), scaledPixels(80, ratio));
            EXPECT_EQ(picture.height(), scaledPixels(94, ratio));
            EXPECT_EQ(button.width(), picture.width());
            EXPECT_EQ(button.height(), picture.height());
            // The page shows the picture pixel for pixel on its button.
            int differing = 0;
            for (int y = 0; y < picture.height(); ++y)
                for (int x = 0; x < picture.width(); ++x)
                    differing += view.screen()->pixel(button.left + x, button.top + y) !=
                                 picture.pixel(x, y);
            EXPECT_EQ(differing, 0) << k;
            // The pictures stay in a row inside the window, right of the tune panel.
            EXPECT_GT(l.shapeButton[0].left, l.tunePanelOutline.right);
            EXPECT_LE(l.shapeButton[3].right, l.clientRect.right);

            view.OnLButtonDown((button.left + button.right) / 2, (button.top + button.bottom) / 2);
            EXPECT_EQ(view.currentPage, kGamePage) << k;
            EXPECT_EQ(view.vertexCount, shapes[k]) << k;
        }
    }
}

TEST(HighDensity, PicturesAreDrawnSharpAtTheirSizeNotEnlarged) {
    fake::FakePlatform one(clientAt(1.0), 1.0), two(clientAt(2.0), 2.0);
    CMekkView small(one), large(two);
    small.paint();
    large.paint();
    for (int k = 0; k < 4; ++k) {
        const Canvas& a = small.shapePicture[k];
        const Canvas& b = large.shapePicture[k];
        // Not the small picture with every pixel doubled.
        int differing = 0;
        for (int y = 0; y < b.height(); ++y)
            for (int x = 0; x < b.width(); ++x)
                differing += b.pixel(x, y) != a.pixel(x / 2, y / 2);
        EXPECT_GT(differing, 100) << k;
    }
    // The outline is as wide as the thin pen: the Square's upright left side is 2 pixels wide.
    const Canvas& square = large.shapePicture[0];
    const int y = square.height() * 38 / 94;
    int x = 0;
    while (square.pixel(x, y) != kBlack)
        ++x;
    EXPECT_EQ(blackRunWidth(square, x, y), 2);
}

TEST(HighDensity, PensGrowWithTheRatio) {
    for (double ratio : {1.0, 1.5, 2.0}) {
        SCOPED_TRACE(ratio);
        test::GameDriver g(clientAt(ratio), ratio);
        const CMekkView& view = g.view;
        EXPECT_EQ(view.thinPen.width, scaledPixels(1, ratio));
        EXPECT_EQ(view.mediumPen.width, scaledPixels(2, ratio));
        EXPECT_EQ(view.thickPen.width, scaledPixels(4, ratio));
        EXPECT_EQ(view.redPen.width, scaledPixels(1, ratio));
        // The tune panel's outline lies one thin pen outside the panel, in black.
        const Layout& l = view.layout;
        EXPECT_EQ(l.tunePanelRect.left - l.tunePanelOutline.left, view.thinPen.width);
        const int midY = (l.tuneButton[4].top + l.tuneButton[4].bottom) / 2;
        EXPECT_EQ(blackRunWidth(g.screen(), l.tunePanelOutline.left, midY), view.thinPen.width);
        // Choosing a tune lights its button without eating into the grid round it.
        const Rect b = l.tuneButton[6];
        g.click((b.left + b.right) / 2, (b.top + b.bottom) / 2);
        const int x = (b.left + b.right) / 2;
        int line = 0;
        for (int y = b.top - view.thinPen.width; y <= b.top + view.thinPen.width; ++y)
            line += g.screen().pixel(x, y) == kBlack;
        EXPECT_EQ(line, view.thinPen.width) << "the grid line above the lit button";
    }
}

TEST(HighDensity, AFinishedDecagonAtEveryRatio) {
    const std::vector<int> path = findPerfectPath(10).vertices;
    ASSERT_EQ(path.size(), 42u);
    int piecesAtRatioOne = 0;
    for (double ratio : {1.0, 1.5, 2.0}) {
        SCOPED_TRACE(ratio);
        test::GameDriver g(clientAt(ratio), ratio);
        g.startGame(10, path[0]);
        for (std::size_t k = 1; k < path.size(); ++k)
            g.clickVertex(path[k]);
        ASSERT_EQ(g.view.pathLength, 42);
        g.end();
        // The frame is drawn with the medium pen: 2r pixels wide.
        const Rect frame = g.frame();
        EXPECT_EQ(blackRunWidth(g.screen(), frame.left, (frame.top + frame.bottom) / 2),
                  scaledPixels(2, ratio));
        g.colourEveryPiece();
        ASSERT_EQ(g.view.gamePhase, kColouring) << "no colouring click leaked";
        // Wider lines can swallow a sliver, never add one.
        if (ratio == 1.0) piecesAtRatioOne = g.view.pieceCount;
        EXPECT_GE(g.view.pieceCount, piecesAtRatioOne * 9 / 10);
        EXPECT_LE(g.view.pieceCount, piecesAtRatioOne + piecesAtRatioOne / 10);
        g.end();
        EXPECT_EQ(g.view.gamePhase, kFinished);
        EXPECT_GT(g.view.score, 0);
        EXPECT_TRUE(g.repaint() == g.screen()) << "a fresh paint equals the handlers' picture";
    }
}

TEST(HighDensity, AFreshPaintEqualsTheHandlersPictureAtFractionalRatios) {
    for (double ratio : {1.25, 1.5, 1.75, 2.0}) {
        for (Size client : {clientAt(ratio), Size{scaledPixels(640, ratio), 203}}) {
            std::mt19937 random(static_cast<unsigned>(ratio * 100 + client.cx));
            std::vector<std::uint8_t> bytes(300 * 8);
            for (auto& b : bytes)
                b = static_cast<std::uint8_t>(random());
            storm::Storm s(client, 7, ratio);
            storm::ByteSource in(bytes.data(), bytes.size());
            const storm::Verdict v = s.play(in, 300);
            EXPECT_EQ(v.failure, "") << ratio << " at " << client.cx << "x" << client.cy;
        }
    }
}

TEST(HighDensity, OnASmallScreenThePicturesShrinkToTheirRoomAndClicksFollowThem) {
    // A 1280 x 800 screen at 200 %: the window's client area below its title and menu bars.
    fake::FakePlatform platform({1276, 740}, 2.0);
    CMekkView view(platform);
    view.paint();
    const Layout& l = view.layout;
    const int u = l.unit;
    // r x 94 would run 32 pixels past the window's bottom: the pictures are as high as their
    // room, from 13 units above the bottom down to the tune panel's bottom, and no higher.
    EXPECT_LT(l.pictureScale, 2.0);
    EXPECT_EQ(l.pictureSize.cy, 12 * u);
    EXPECT_EQ(l.pictureSize.cx, scaledPixels(80, l.pictureScale));
    const int shapes[4] = {4, 6, 8, 10};
    for (int k = 0; k < 4; ++k) {
        const Rect& button = l.shapeButton[k];
        const Canvas& picture = view.shapePicture[k];
        ASSERT_EQ(picture.width(), button.width()) << k;
        ASSERT_EQ(picture.height(), button.height()) << k;
        EXPECT_EQ(button.bottom, l.tunePanelRect.bottom) << k;
        EXPECT_GT(button.left, l.tunePanelOutline.right) << k;
        EXPECT_LE(button.right, l.clientRect.right) << k;
        // Drawn whole, name and all: the lowest fifth holds the coloured capitals.
        int differing = 0, coloured = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                const Colour c = view.screen()->pixel(button.left + x, button.top + y);
                differing += c != picture.pixel(x, y);
                coloured += y >= picture.height() * 4 / 5 && c != kWhite && c != kBlack;
            }
        EXPECT_EQ(differing, 0) << k;
        EXPECT_GT(coloured, 50) << k;
    }
    // A click just below a drawn picture, where the larger one would have reached, is no
    // click on it; one on its last row inside is.
    for (int k = 0; k < 4; ++k) {
        const Rect button = l.shapeButton[k];
        const int x = (button.left + button.right) / 2;
        view.OnLButtonDown(x, button.bottom + 2);
        EXPECT_EQ(view.currentPage, kHomePage) << k;
        view.OnLButtonDown(x, button.bottom - 2);
        ASSERT_EQ(view.currentPage, kGamePage) << k;
        EXPECT_EQ(view.vertexCount, shapes[k]);
        view.returnHome();
    }
}

TEST(HighDensity, FittedPicturesAreTheLargestThatFitAndNeverSmallerThanAtRatioOne) {
    // Over screens from tiny to large and the ratios desktops offer, the pictures are the
    // screen's own size where that fits, else the largest that fits, else 80 x 94.
    for (double ratio : kRatios) {
        for (int W : {320, 640, 1016, 1276, 1600, 2552}) {
            for (int H : {69, 300, 500, 740, 1000, 1500}) {
                SCOPED_TRACE(::testing::Message() << ratio << " " << W << "x" << H);
                const Layout l = computeLayout(Rect{0, 0, W, H}, {}, Size{10, 15}, ratio);
                const int u = l.unit;
                const auto fits = [&](int pw, int ph) {
                    const int group = 4 * pw + 3 * ((W - 4 * pw) / 9);
                    return ph <= 12 * u && group <= W - l.tunePanelOutline.right - 2 * u;
                };
                const Size size = l.pictureSize;
                EXPECT_EQ(l.shapeButton[0].height(), size.cy);
                EXPECT_EQ(l.shapeButton[0].width(), size.cx);
                EXPECT_GE(size.cy, 94);
                EXPECT_GE(size.cx, 80);
                if (l.pictureScale == usableRatio(ratio)) continue;
                EXPECT_LT(l.pictureScale, ratio);
                if (size.cy > 94) {
                    EXPECT_TRUE(fits(size.cx, size.cy));
                }
                // A pixel higher would not fit.
                const double larger = double(size.cy + 1) / 94;
                if (larger <= ratio) {
                    EXPECT_FALSE(fits(scaledPixels(80, larger), size.cy + 1));
                }
            }
        }
    }
}
