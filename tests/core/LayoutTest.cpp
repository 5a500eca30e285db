// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The layout of both pages: the worked figures of a 1016 x 700 client area, the rounding of
// the unit, the history rows, the guards for tiny and huge windows, and the client area kept
// from the first paint.
#include "screen/Layout.h"
#include "game/CMekkView.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

using namespace tess;

namespace {

Layout layoutOf(int W, int H, int rowHeight = 15, CounterWidths widths = {}) {
    return computeLayout(Rect{0, 0, W, H}, widths, Size{10, rowHeight});
}

bool inside(const Rect& inner, const Rect& outer) {
    return outer.left <= inner.left && inner.right <= outer.right && outer.top <= inner.top &&
           inner.bottom <= outer.bottom;
}

} // namespace

TEST(LayoutUnit, FollowsTheClientHeight) {
    EXPECT_EQ(layoutUnit(69), 1);
    EXPECT_EQ(layoutUnit(700), 11);
    EXPECT_EQ(layoutUnit(718), 12);
    EXPECT_EQ(layoutUnit(717), 11);
    EXPECT_EQ(layoutOf(1016, 700).vertexCircle[4][1].width(), 16); // d = 3u/2
    EXPECT_EQ(layoutOf(1016, 718).vertexCircle[4][1].width(), 18);
}

TEST(Layout, BoardFiguresOf1016By700) {
    const Layout l = layoutOf(1016, 700);
    EXPECT_EQ(l.unit, 11);
    EXPECT_EQ(l.clientRect, (Rect{0, 0, 1016, 700}));
    EXPECT_EQ(l.vertexCircle[4][1], (Rect{55, 99, 71, 115}));
    EXPECT_EQ(l.vertexCentre[4][1], (Point{63, 107}));
    EXPECT_EQ(l.vertexCircle[4][4], (Rect{473, 517, 489, 533}));
    EXPECT_EQ(l.vertexCircle[10][1], (Rect{203, 88, 219, 104}));
    EXPECT_EQ(l.vertexCircle[10][3], (Rect{462, 171, 478, 187}));
    EXPECT_EQ(l.frameRect[4], (Rect{33, 77, 511, 555}));
    EXPECT_EQ(l.frameRect[10], (Rect{33, 77, 533, 555}));
    EXPECT_EQ(l.swatchRect[4], (Rect{33, 566, 110, 599}));
    EXPECT_EQ(l.tuneBox[4], (Rect{121, 566, 242, 599}));
    for (int shape : {4, 6, 8, 10})
        EXPECT_EQ(l.messageRect[shape], (Rect{33, 577, 1016, 700}));
    EXPECT_EQ(l.outsidePoint[6], (Point{38, 82}));
    EXPECT_EQ(l.outsidePoint[4], (Point{44, 88}));
    EXPECT_EQ(l.explanationRect, (Rect{544, 77, 1005, 187}));
    EXPECT_EQ(l.historyRect, (Rect{544, 198, 972, 555}));
    EXPECT_EQ(l.historyCell[0][0].width(), 107);
}

TEST(Layout, HomeFiguresOf1016By700) {
    const Layout l = layoutOf(1016, 700);
    EXPECT_EQ(l.titleRect, (Rect{22, 0, 994, 88}));
    EXPECT_EQ(l.introRect, (Rect{22, 88, 994, 557}));
    EXPECT_EQ(l.tuneButton[0].width(), 83);
    EXPECT_EQ(l.tunePanelOutline.right, 200);
    const int lefts[4] = {332, 489, 646, 803};
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(l.shapeButton[k], (Rect{lefts[k], 557, lefts[k] + 80, 651})) << k;

    // Tunes 1-10 down the left column, 11-20 down the right; the last row ends at H - u.
    const int h = 15;
    EXPECT_EQ(l.tuneButton[0], (Rect{33, 700 - 11 - 10 * h, 116, 700 - 11 - 9 * h}));
    EXPECT_EQ(l.tuneButton[9].bottom, 689);
    EXPECT_EQ(l.tuneButton[10], (Rect{116, l.tuneButton[0].top, 199, l.tuneButton[0].bottom}));
    EXPECT_EQ(l.tuneButton[19], (Rect{116, 689 - h, 199, 689}));
    EXPECT_EQ(l.tuneTitleRect, (Rect{33, 689 - 11 * h, 199, 689 - 10 * h}));
    EXPECT_EQ(l.tunePanelRect, (Rect{33, 689 - 11 * h, 199, 689}));
    EXPECT_EQ(l.tunePanelOutline, (Rect{32, 689 - 11 * h - 1, 200, 690}));
}

TEST(Layout, CountersStripChainsMeasuredWidths) {
    CounterWidths w;
    w.lines = 70;
    w.twoDigits = 40;
    w.outOf = 50;
    w.pieces = 80;
    w.threeDigits = 60;
    w.score = 45;
    w.hundred = 58;
    const Layout l = layoutOf(1016, 700, 15, w);
    // u = 11: top u/2 = 5, bottom 4u + u/2 = 49; gaps of 2u between a count and its maximum,
    // 3u between groups.
    EXPECT_EQ(l.linesRect, (Rect{22, 5, 132, 49}));
    EXPECT_EQ(l.maxLinesRect, (Rect{154, 5, 244, 49}));
    EXPECT_EQ(l.piecesRect, (Rect{277, 5, 417, 49}));
    EXPECT_EQ(l.maxPiecesRect, (Rect{439, 5, 549, 49}));
    EXPECT_EQ(l.scoreRect, (Rect{582, 5, 685, 49}));
}

TEST(Layout, DecagonTruncatesOddAndEvenUnits) {
    EXPECT_EQ(layoutOf(1016, 700).vertexCircle[10][3].top, 171); // 308 - 137
    EXPECT_EQ(layoutOf(1016, 718).vertexCircle[10][3].top, 186); // 336 - 150
    const Layout l = layoutOf(1016, 718);                        // u = 12, a = 174, b = 150
    EXPECT_EQ(l.vertexCircle[10][1].left, 222);
    EXPECT_EQ(l.vertexCircle[10][2].left, 378);
    EXPECT_EQ(l.vertexCircle[10][8].top, 486);
}

TEST(Layout, HistoryRowsFollowTheRowHeight) {
    // h = 15: 357 / 15 = 23 rows fit, and the totals row 23 is laid out below them.
    Layout l = layoutOf(1016, 700, 15);
    EXPECT_EQ(l.historyRowsFitted, 23);
    EXPECT_EQ(l.historyCapacity(), 22);
    for (int s = 0; s < 4; ++s) {
        EXPECT_EQ(l.historyCell[s][0], (Rect{544 + s * 107, 198, 544 + (s + 1) * 107, 213}));
        EXPECT_EQ(l.historyCell[s][23], (Rect{544 + s * 107, 543, 544 + (s + 1) * 107, 558}));
    }
    EXPECT_EQ(l.historyCell[0][24], Rect{});

    // h = 17: 21 rows fit exactly; row 21 is still computed.
    l = layoutOf(1016, 700, 17);
    EXPECT_EQ(l.historyRowsFitted, 21);
    EXPECT_EQ(l.historyCapacity(), 20);
    EXPECT_EQ(l.historyCell[0][20].bottom, 555);
    EXPECT_EQ(l.historyCell[3][21], (Rect{865, 555, 972, 572}));

    // A row as high as the whole span, or higher: one row fits, no score, rows 0 and 1.
    for (int h : {357, 358, 1000}) {
        l = layoutOf(1016, 700, h);
        EXPECT_EQ(l.historyRowsFitted, 1) << h;
        EXPECT_EQ(l.historyCapacity(), 0) << h;
        EXPECT_EQ(l.historyCell[2][1], (Rect{758, 198 + h, 865, 198 + 2 * h})) << h;
        EXPECT_EQ(l.historyCell[2][2], Rect{}) << h;
    }
}

TEST(Layout, HistoryNeverOutgrowsItsCells) {
    // Rows that fit never pass the history area's bottom, the next one does (unless the
    // cells ran out), and the count stays within the 52 cells: at most 51 rows, 50 scores.
    for (int H : {69, 300, 700, 1080, 4320}) {
        for (int h = 0; h <= 400; ++h) {
            const Layout l = layoutOf(1920, H, h);
            const int fitted = l.historyRowsFitted;
            ASSERT_GE(fitted, 1);
            ASSERT_LE(fitted, kHistoryRows - 1);
            EXPECT_LE(l.historyCapacity(), kMaxHistoryCapacity);
            const int rowHeight = h < 1 ? 1 : h;
            EXPECT_EQ(l.historyCell[1][fitted].height(), rowHeight);
            if (fitted > 1) {
                EXPECT_LE(l.historyCell[1][fitted - 1].bottom, l.historyRect.bottom);
            }
            if (fitted < kHistoryRows - 1) {
                EXPECT_GT(l.historyCell[1][fitted].bottom, l.historyRect.bottom) << H << " " << h;
            }
        }
    }
    // A letter height of 0 gives the largest table the cells hold.
    const Layout l = layoutOf(1016, 700, 0);
    EXPECT_EQ(l.historyRowsFitted, 51);
    EXPECT_EQ(l.historyCapacity(), 50);
}

TEST(Layout, BoardHangsTogetherAtEverySize) {
    // Every vertex circle lies inside its shape's frame, the probe point lies inside the
    // frame but in no circle, and the swatch and tune box sit one unit below the frame.
    // (At u = 1 the Hexagon's probe point, 3u + u/2, falls on the frame's corner.)
    for (int H = 128; H <= 4320; H += 7) {
        const Layout l = layoutOf(H * 16 / 9, H);
        const int u = l.unit;
        for (int n : {4, 6, 8, 10}) {
            const Rect& frame = l.frameRect[n];
            for (int v = 1; v <= n; ++v) {
                const Rect& circle = l.vertexCircle[n][v];
                ASSERT_TRUE(inside(circle, frame)) << "H " << H << " shape " << n << " v " << v;
                ASSERT_TRUE(
                    circle.strictlyContains(l.vertexCentre[n][v].x, l.vertexCentre[n][v].y) ||
                    circle.width() < 3);
                const Point p = l.outsidePoint[n];
                ASSERT_FALSE(circle.left <= p.x && p.x < circle.right && circle.top <= p.y &&
                             p.y < circle.bottom)
                    << "H " << H << " shape " << n;
            }
            ASSERT_TRUE(frame.strictlyContains(l.outsidePoint[n].x, l.outsidePoint[n].y));
            ASSERT_EQ(l.swatchRect[n].top, frame.bottom + u);
            ASSERT_EQ(l.tuneBox[n].top, frame.bottom + u);
            ASSERT_EQ(l.swatchRect[n].height(), 3 * u);
        }
    }
}

TEST(Layout, TinyClientAreasStillLayOut) {
    // Below 69 pixels the unit would be 0; it stays 1 and every figure is still defined.
    for (Size s : {Size{0, 0}, Size{1, 1}, Size{100, 10}, Size{320, 68}, Size{-5, -5}}) {
        const Layout l = layoutOf(s.cx, s.cy, 0);
        EXPECT_EQ(l.unit, 1);
        EXPECT_EQ(l.vertexCircle[10][1].width(), 1);
        EXPECT_GE(l.historyRowsFitted, 1);
        EXPECT_LE(l.historyRowsFitted, kHistoryRows - 1);
        EXPECT_EQ(l.shapeButton[0].height(), 94);
    }
}

TEST(Layout, HugeClientAreasStayInside) {
    const Layout l = layoutOf(7680, 4320, 97);
    const int u = 73; // (4320 - 10) / 59
    const int d = 109;
    EXPECT_EQ(l.unit, u);
    EXPECT_EQ(l.frameRect[10], (Rect{3 * u, 7 * u, 47 * u + d, 49 * u + d}));
    EXPECT_EQ(l.historyRect, (Rect{48 * u + d, 18 * u, 7680 - 4 * u, 49 * u + d}));
    EXPECT_EQ(l.historyRowsFitted, (31 * u + d) / 97);
    EXPECT_EQ(l.tuneButton[19].bottom, 4320 - u);
    const Rect client{0, 0, 7680, 4320};
    for (const Rect& b : l.shapeButton)
        EXPECT_TRUE(inside(b, client));
    EXPECT_GT(l.shapeButton[0].left, l.tunePanelOutline.right);
}

TEST(LayoutPass, KeepsTheFirstPaintsClientArea) {
    fake::FakePlatform platform({1016, 700});
    CMekkView view(platform);
    Canvas canvas(1016, 700);
    DrawingContext dc(canvas);
    EXPECT_FALSE(view.clientArea);

    view.layoutPass(dc);
    EXPECT_EQ(view.clientArea, (Rect{0, 0, 1016, 700}));
    EXPECT_EQ(view.layout.clientRect, (Rect{0, 0, 1016, 700}));
    EXPECT_EQ(view.layout.unit, 11);
    const Rect frame = view.layout.frameRect[8];
    const Rect button = view.layout.shapeButton[3];

    // The window changes under the game: the game goes on with the first layout.
    platform.setClientSize({1600, 1000});
    view.layoutPass(dc);
    EXPECT_EQ(view.clientArea, (Rect{0, 0, 1016, 700}));
    EXPECT_EQ(view.layout.clientRect, (Rect{0, 0, 1016, 700}));
    EXPECT_EQ(view.layout.unit, 11);
    EXPECT_EQ(view.layout.frameRect[8], frame);
    EXPECT_EQ(view.layout.shapeButton[3], button);
    EXPECT_EQ(view.layout.messageRect[4], (Rect{33, 577, 1016, 700}));
}

TEST(LayoutPass, PaintsAfterAResizeKeepTheCanvas) {
    fake::FakePlatform platform({1016, 700});
    CMekkView view(platform);
    view.paint();
    ASSERT_NE(view.screen(), nullptr);
    platform.setClientSize({640, 480});
    view.paint();
    EXPECT_EQ(view.screen()->width(), 1016);
    EXPECT_EQ(view.screen()->height(), 700);
    EXPECT_EQ(platform.presents, 2);
}

TEST(LayoutPass, MakesTheFontsOfThisPaintAndMeasuresWithThem) {
    fake::FakePlatform platform({1016, 718}); // u = 12
    CMekkView view(platform);
    Canvas canvas(1016, 718);
    DrawingContext dc(canvas);
    dc.setTextColour(Colour(255, 0, 0));
    view.layoutPass(dc);

    // Cell heights 4u/3, 3u/2, 2u and 4u, exactly.
    const struct {
        const Font* font;
        int cell;
    } fonts[] = {{&view.smallFont, 16},
                 {&view.normalFont, 18},
                 {&view.boldFont, 24},
                 {&view.largeBoldFont, 48}};
    for (const auto& f : fonts)
        EXPECT_EQ(f.font->cellHeight(), f.cell);
    EXPECT_EQ(view.layout.letterSize, view.smallFont.extent("H"));
    EXPECT_GT(view.layout.letterSize.cy, 0);

    // Painters rely on black text in the large bold font after the pass.
    EXPECT_EQ(dc.textColour(), kBlack);
    EXPECT_EQ(dc.font().cellHeight(), view.largeBoldFont.cellHeight());
    EXPECT_EQ(dc.font().extent("100"), view.largeBoldFont.extent("100"));

    const Layout& l = view.layout;
    const int h = l.letterSize.cy;
    EXPECT_EQ(l.tuneButton[0].height(), h);
    EXPECT_EQ(l.historyCell[0][0].height(), h);
    EXPECT_EQ(l.linesRect.width(),
              view.normalFont.extent("# of lines:  ").cx + view.largeBoldFont.extent("22").cx);
    EXPECT_EQ(l.scoreRect.width(),
              view.normalFont.extent("Score:  ").cx + view.largeBoldFont.extent("100").cx);
    EXPECT_LT(l.scoreRect.right, l.clientRect.right);
}
