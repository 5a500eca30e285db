// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The exact pixel canvas: what the rules read back after drawing must be exact to the pixel.
#include "screen/canvas/Canvas.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <numbers>
#include <vector>

using namespace tess;

namespace {

constexpr Colour kRed{255, 0, 0};
constexpr Colour kBlue{0, 0, 255};

// A small fixed random sequence: the same pictures on every run. random(n) is in [0, n).
struct Random {
    std::uint32_t state;
    int operator()(int n) {
        state = state * 1664525u + 1013904223u;
        return int((state >> 8) % std::uint32_t(n));
    }
};

int countColour(const Canvas& c, Colour col) {
    int n = 0;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            n += c.pixel(x, y) == col;
    return n;
}

// The pixels 4-connected to (x, y) that are not black, found one pixel at a time.
std::vector<char> reference(const Canvas& c, int x, int y) {
    std::vector<char> in(std::size_t(c.width() * c.height()), 0);
    std::vector<Point> todo{{x, y}};
    while (!todo.empty()) {
        Point p = todo.back();
        todo.pop_back();
        if (!c.contains(p.x, p.y) || c.pixel(p.x, p.y) == kBlack) continue;
        char& seen = in[std::size_t(p.y * c.width() + p.x)];
        if (seen) continue;
        seen = 1;
        todo.push_back({p.x + 1, p.y});
        todo.push_back({p.x - 1, p.y});
        todo.push_back({p.x, p.y + 1});
        todo.push_back({p.x, p.y - 1});
    }
    return in;
}

// Fills from (x, y) and checks that exactly the reference region changed to the brush.
void expectExactFill(Canvas& c, int x, int y, Colour brush) {
    const Canvas before = c;
    const std::vector<char> in = reference(c, x, y);
    DrawingContext dc(c);
    dc.selectBrush({brush});
    ASSERT_TRUE(dc.floodFill(x, y, kBlack));
    for (int py = 0; py < c.height(); ++py)
        for (int px = 0; px < c.width(); ++px) {
            const Colour want = in[std::size_t(py * c.width() + px)] ? brush : before.pixel(px, py);
            ASSERT_EQ(c.pixel(px, py), want) << px << "," << py;
        }
}

} // namespace

TEST(Canvas, NewCanvasIsWhiteAndReadsOutsideAreNotWhite) {
    Canvas c(5, 4);
    DrawingContext dc(c);
    EXPECT_EQ(countColour(c, kWhite), 20);
    for (Point p : {Point{-1, 0}, Point{0, -1}, Point{5, 0}, Point{0, 4}, Point{INT_MIN, INT_MAX}})
        EXPECT_EQ(dc.getPixel(p.x, p.y), kInvalidColour);
    EXPECT_NE(kInvalidColour, kWhite);
    c.setPixel(-3, 2, kRed); // ignored
    c.setPixel(4, 3, kRed);
    EXPECT_EQ(dc.getPixel(4, 3), kRed);
    EXPECT_EQ(countColour(c, kRed), 1);
}

TEST(Canvas, FillRectCoversLeftToRightMinusOneAndClips) {
    Canvas c(10, 10);
    DrawingContext dc(c);
    dc.fillRect({2, 3, 5, 7}, {kRed});
    EXPECT_EQ(countColour(c, kRed), 3 * 4);
    EXPECT_EQ(c.pixel(2, 3), kRed);
    EXPECT_EQ(c.pixel(4, 6), kRed);
    EXPECT_EQ(c.pixel(5, 6), kWhite);
    EXPECT_EQ(c.pixel(4, 7), kWhite);
    EXPECT_EQ(c.pixel(1, 3), kWhite);

    Canvas d(10, 10);
    DrawingContext dd(d);
    dd.fillRect({5, 5, 5, 9}, {kRed});        // empty
    dd.fillRect({7, 2, 3, 8}, {kRed});        // inverted
    dd.fillRect({0, 0, 9, 9}, {kRed, false}); // unmade brush
    EXPECT_EQ(countColour(d, kWhite), 100);
    dd.fillRect({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {kBlue});
    EXPECT_EQ(countColour(d, kBlue), 100);
    dd.fillRect({-5, 8, 3, 1000}, {kRed});
    EXPECT_EQ(countColour(d, kRed), 3 * 2);
}

TEST(Canvas, RectangleOutlineOnOutermostPixelsAndBrushInside) {
    Canvas c(12, 12);
    DrawingContext dc(c);
    dc.selectPen({kRed, 1});
    dc.selectBrush({kBlue});
    dc.rectangle({2, 3, 8, 10}); // columns 2..7, rows 3..9
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool inRect = x >= 2 && x <= 7 && y >= 3 && y <= 9;
            const bool edge = inRect && (x == 2 || x == 7 || y == 3 || y == 9);
            EXPECT_EQ(c.pixel(x, y), edge ? kRed : inRect ? kBlue : kWhite) << x << "," << y;
        }
    // A wider pen grows inward; an unmade brush leaves the inside alone.
    Canvas d(12, 12);
    DrawingContext dd(d);
    dd.selectPen({kBlack, 2});
    dd.selectBrush({kRed, false});
    dd.rectangle({1, 1, 11, 11});
    EXPECT_EQ(countColour(d, kBlack), 100 - 36);
    EXPECT_EQ(d.pixel(2, 2), kBlack);
    EXPECT_EQ(d.pixel(3, 3), kWhite);
    EXPECT_EQ(d.pixel(11, 11), kWhite);
}

TEST(Canvas, BlitCopiesPixelForPixelClipped) {
    Canvas pic(3, 2);
    pic.setPixel(0, 0, kRed);
    pic.setPixel(2, 1, kBlue);
    Canvas c(4, 4);
    DrawingContext dc(c);
    dc.blit(1, 1, pic);
    EXPECT_EQ(c.pixel(1, 1), kRed);
    EXPECT_EQ(c.pixel(3, 2), kBlue);
    dc.blit(-2, 3, pic); // only the picture's column 2, row 0 lands, at (0, 3)
    EXPECT_EQ(c.pixel(0, 3), kWhite);
    dc.blit(-2, 2, pic);
    EXPECT_EQ(c.pixel(0, 3), kBlue);
    dc.blit(INT_MAX, INT_MIN, pic);
    dc.blit(INT_MIN, INT_MAX, pic);
    EXPECT_EQ(countColour(c, kRed), 1);
}

TEST(Lines, LeaveOutTheEndPointAndAreEightConnected) {
    Canvas c(40, 40);
    DrawingContext dc(c);
    dc.moveTo(5, 5);
    dc.lineTo(15, 5);
    EXPECT_EQ(c.pixel(5, 5), kBlack);
    EXPECT_EQ(c.pixel(14, 5), kBlack);
    EXPECT_EQ(c.pixel(15, 5), kWhite);
    EXPECT_EQ(countColour(c, kBlack), 10);
    EXPECT_EQ(dc.currentPoint(), (Point{15, 5}));
    // A zero-length line draws nothing.
    dc.lineTo(15, 5);
    EXPECT_EQ(countColour(c, kBlack), 10);

    // Every line: one pixel per step of the longer axis, each next to the previous one.
    for (Point end :
         {Point{37, 11}, Point{3, 38}, Point{20, 0}, Point{0, 39}, Point{39, 39}, Point{1, 2}}) {
        Canvas d(40, 40);
        DrawingContext dd(d);
        dd.moveTo(20, 20);
        dd.lineTo(end.x, end.y);
        const int steps = std::max(std::abs(end.x - 20), std::abs(end.y - 20));
        EXPECT_EQ(countColour(d, kBlack), steps);
        EXPECT_EQ(d.pixel(end.x, end.y), kWhite);
        EXPECT_EQ(d.pixel(20, 20), kBlack);
    }
}

TEST(Lines, HugeCoordinatesAreClippedNotWalked) {
    Canvas c(50, 30);
    DrawingContext dc(c);
    dc.moveTo(INT_MIN, 15);
    dc.lineTo(INT_MAX, 15);
    EXPECT_EQ(countColour(c, kBlack), 50);
    dc.selectPen({kRed, 4});
    dc.moveTo(-1000000000, -1000000000);
    dc.lineTo(1000000000, 1000000000);
    EXPECT_EQ(c.pixel(10, 10), kRed);
    EXPECT_EQ(c.pixel(29, 29), kRed);
    dc.moveTo(INT_MAX, INT_MIN);
    dc.lineTo(INT_MIN, INT_MAX);
}

// A closed polygon of lines at many angles: a fill inside never crosses it, and a fill
// outside never gets in, even where the lines run diagonally.
TEST(Lines, NoFillCrossesAThinOrWideLineAtAnyAngle) {
    for (int width : {1, 2, 4}) {
        for (int sides = 3; sides <= 41; sides += 2) {
            Canvas c(120, 120);
            DrawingContext dc(c);
            dc.selectPen({kBlack, width});
            const double turn = 0.37 * sides; // different angles for every polygon
            Point first{};
            for (int i = 0; i <= sides; ++i) {
                const double a = turn + 2 * std::numbers::pi * i / sides;
                const Point p{60 + int(std::lround(50 * std::cos(a))),
                              60 + int(std::lround(47 * std::sin(a)))};
                if (i == 0) {
                    first = p;
                    dc.moveTo(p.x, p.y);
                } else {
                    dc.lineTo(i == sides ? first.x : p.x, i == sides ? first.y : p.y);
                }
            }
            dc.selectBrush({kRed});
            ASSERT_TRUE(dc.floodFill(60, 60, kBlack));
            ASSERT_EQ(c.pixel(0, 0), kWhite) << "width " << width << " sides " << sides;
            dc.selectBrush({kBlue});
            ASSERT_TRUE(dc.floodFill(0, 0, kBlack));
            ASSERT_EQ(c.pixel(60, 60), kRed) << "width " << width << " sides " << sides;
            ASSERT_EQ(countColour(c, kWhite), 0);
        }
    }
}

TEST(Lines, TwoPixelFrameCornersClose) {
    Canvas c(40, 40);
    DrawingContext dc(c);
    dc.selectPen({kBlack, 2});
    dc.moveTo(5, 5);
    dc.lineTo(30, 5);
    dc.lineTo(30, 30);
    dc.lineTo(5, 30);
    dc.lineTo(5, 5);
    dc.selectBrush({kRed});
    ASSERT_TRUE(dc.floodFill(15, 15, kBlack));
    EXPECT_EQ(c.pixel(0, 0), kWhite);
    EXPECT_EQ(c.pixel(39, 39), kWhite);
}

TEST(Ellipses, SymmetricClosedOutlineWithBrushInside) {
    for (int pen : {1, 4}) {
        for (int d = 1; d <= 60; ++d) {
            Canvas c(d + 20, d + 20);
            DrawingContext dc(c);
            dc.selectPen({kBlack, pen});
            dc.selectBrush({kRed});
            dc.ellipse({10, 10, 10 + d, 10 + d});
            int inked = 0;
            for (int y = 0; y < c.height(); ++y)
                for (int x = 0; x < c.width(); ++x) {
                    const Colour p = c.pixel(x, y);
                    const bool inBox = x >= 10 && x < 10 + d && y >= 10 && y < 10 + d;
                    if (!inBox) {
                        ASSERT_EQ(p, kWhite);
                    }
                    inked += p != kWhite;
                    // Mirror images in both axes and the diagonal agree.
                    ASSERT_EQ(p, c.pixel(2 * 10 + d - 1 - x, y)) << d << " " << x << "," << y;
                    ASSERT_EQ(p, c.pixel(x, 2 * 10 + d - 1 - y));
                    ASSERT_EQ(p, c.pixel(y, x));
                }
            EXPECT_GT(inked, 0) << d;
            // The four extreme pixels of the box's middle lines are on the outline.
            EXPECT_EQ(c.pixel(10, 10 + d / 2), kBlack) << d;
            EXPECT_EQ(c.pixel(10 + d - 1, 10 + d / 2), kBlack) << d;
            // Filling outside never reaches inside: the outline is a barrier.
            dc.selectBrush({kBlue});
            ASSERT_TRUE(dc.floodFill(0, 0, kBlack));
            EXPECT_EQ(countColour(c, kWhite), 0) << d;
            if (d > 2 * pen + 2) {
                EXPECT_EQ(c.pixel(10 + d / 2, 10 + d / 2), kRed) << d;
                dc.selectBrush({kWhite});
                ASSERT_TRUE(dc.floodFill(10 + d / 2, 10 + d / 2, kBlack));
                EXPECT_EQ(c.pixel(0, 0), kBlue) << d;
            }
        }
    }
}

TEST(Ellipses, WideEllipseOutlineNeverLeaksAndUnmadeBrushLeavesInside) {
    Canvas c(200, 120);
    DrawingContext dc(c);
    dc.fillRect({0, 0, 200, 120}, {kBlue});
    dc.selectPen({kBlack, 1});
    dc.selectBrush({kRed, false});
    dc.ellipse({3, 5, 197, 115});
    EXPECT_EQ(c.pixel(100, 60), kBlue);
    dc.selectBrush({kRed});
    ASSERT_TRUE(dc.floodFill(100, 60, kBlack));
    EXPECT_EQ(c.pixel(0, 0), kBlue);
    EXPECT_EQ(c.pixel(4, 6), kBlue);
    dc.ellipse({INT_MIN / 2, INT_MIN / 2, INT_MAX / 2, INT_MAX / 2}); // clipped, no hang
    EXPECT_EQ(c.pixel(100, 60), kRed);
}

TEST(FloodFill, FillsExactlyConcaveRegionsAndSpirals) {
    // A square spiral corridor: the fill must follow every turn.
    Canvas c(64, 64);
    DrawingContext dc(c);
    dc.selectPen({kBlack, 1});
    int l = 2, t = 2, r = 61, b = 61;
    dc.moveTo(l, t);
    while (r - l > 4 && b - t > 4) {
        dc.lineTo(r, t);
        dc.lineTo(r, b);
        dc.lineTo(l, b);
        l += 3;
        dc.lineTo(l - 3, t + 3);
        t += 3;
        r -= 3;
        b -= 3;
        dc.lineTo(l, t);
    }
    expectExactFill(c, 32, 32, kRed);
    expectExactFill(c, 0, 0, kBlue);

    // Comb teeth from above and below: many spans above and below each run.
    Canvas comb(90, 50);
    DrawingContext cd(comb);
    for (int x = 3; x < 88; x += 4) {
        cd.moveTo(x, x % 8 == 3 ? 0 : 49);
        cd.lineTo(x, x % 8 == 3 ? 40 : 9);
    }
    expectExactFill(comb, 1, 1, kRed);
}

TEST(FloodFill, BrushColourAlreadyInTheRegionStillFillsItAll) {
    Canvas c(30, 20);
    DrawingContext dc(c);
    // Stripes of the brush's own colour cut the region into bands only the bitmap joins.
    for (int y = 0; y < 20; y += 2)
        dc.fillRect({0, y, 30, y + 1}, {kRed});
    for (int x = 0; x < 30; x += 3)
        c.setPixel(x, 5, kRed);
    dc.selectPen({kBlack, 1});
    dc.moveTo(15, 0);
    dc.lineTo(15, 20);
    expectExactFill(c, 2, 3, kRed);
    EXPECT_EQ(c.pixel(20, 3), kWhite);
    // Filling a region with its own colour changes nothing and ends.
    Canvas same(20, 20);
    expectExactFill(same, 10, 10, kWhite);
}

TEST(FloodFill, BordersAtEveryColumnOfALongRunStopTheFillInBothDirections) {
    // The fill paints many pixels a step: a border pixel at any place in a step, seen from
    // either side of the seed, must stop it exactly there.
    for (int width : {1, 3, 4, 5, 15, 16, 17, 31, 33, 47, 64, 70}) {
        for (int at = 0; at < width; ++at) {
            Canvas c(width, 3);
            c.setPixel(at, 1, kBlack);
            // A wall across the middle row: the pieces left and right of it join above and
            // below, so seed each side in the middle row.
            for (int seed : {0, at + 1, width - 1}) {
                if (seed >= width || seed == at) continue;
                Canvas copy = c;
                expectExactFill(copy, seed, 1, kRed);
                if (HasFatalFailure()) FAIL() << "width " << width << ", border at " << at;
            }
        }
    }
}

TEST(FloodFill, MatchesAPixelByPixelFillOnRandomPictures) {
    // Scattered border pixels and pixels of the brush's own colour, at widths that end the
    // rows at every place of the fill's steps.
    Random random{12345u};
    for (int round = 0; round < 60; ++round) {
        const int width = 1 + random(90), height = 1 + random(40);
        Canvas c(width, height);
        const int density = 3 + random(30); // one pixel in density is a border
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                if (random(density) == 0)
                    c.setPixel(x, y, kBlack);
                else if (random(7) == 0)
                    c.setPixel(x, y, kRed);
            }
        for (int seeds = 0; seeds < 4; ++seeds) {
            const int x = random(width), y = random(height);
            if (c.pixel(x, y) == kBlack) continue;
            expectExactFill(c, x, y, seeds % 2 ? kRed : kBlue);
            if (HasFatalFailure()) FAIL() << "round " << round << ", seed " << x << "," << y;
        }
    }
}

TEST(FloodFill, ARegionOfManyThousandRunsIsFilledWhole) {
    // A serpentine corridor between teeth every third column, open at alternate ends: tens
    // of thousands of runs, each row cut into hundreds of them.
    Canvas c(900, 120);
    DrawingContext dc(c);
    dc.selectPen({kBlack, 1});
    for (int x = 2; x < 900; x += 3) {
        const bool fromTop = (x / 3) % 2 == 0;
        dc.moveTo(x, fromTop ? 0 : 119);
        dc.lineTo(x, fromTop ? 117 : 2);
    }
    expectExactFill(c, 0, 0, kRed);
    EXPECT_EQ(c.pixel(898, 60), kRed);
}

TEST(FloodFill, RefusesSeedsOutsideOrOnTheBorder) {
    Canvas c(10, 10);
    DrawingContext dc(c);
    dc.moveTo(0, 5);
    dc.lineTo(10, 5);
    dc.selectBrush({kRed});
    EXPECT_FALSE(dc.floodFill(-1, 2, kBlack));
    EXPECT_FALSE(dc.floodFill(10, 2, kBlack));
    EXPECT_FALSE(dc.floodFill(3, 5, kBlack));
    EXPECT_EQ(countColour(c, kRed), 0);
    EXPECT_TRUE(dc.floodFill(9, 9, kBlack));
    EXPECT_EQ(countColour(c, kRed), 40);
    EXPECT_EQ(c.pixel(0, 0), kWhite);
}

TEST(DrawingContext, WhatOneContextDrawsAnotherOnTheSameCanvasErases) {
    Canvas c(20, 20);
    DrawingContext dc(c);
    dc.fillRect({0, 0, 20, 20}, {kWhite});
    DrawingContext copy = dc, other(c);
    copy.fillRect({2, 2, 8, 8}, {kRed});
    other.fillRect({12, 12, 14, 14}, {kBlue});
    dc.fillRect({0, 0, 10, 10}, {kWhite});
    EXPECT_EQ(countColour(c, kRed), 0);
    dc.fillRect({0, 0, 20, 20}, {kWhite});
    EXPECT_EQ(countColour(c, kBlue), 0);
}
