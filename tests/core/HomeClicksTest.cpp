// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// Clicks on the home page: the shape pictures and the tune panel.
#include "game/CMekkView.h"
#include "game/ShapeTable.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tess;

namespace {

struct Home {
    fake::FakePlatform platform;
    CMekkView view{platform};
    explicit Home(Size client = {1016, 700}) : platform(client) {
        view.randomState = 777;
        view.paint();
    }
    const Layout& l() const { return view.layout; }
    Canvas freshPaint() {
        Canvas c(view.screen()->width(), view.screen()->height());
        DrawingContext dc(c);
        view.OnDraw(dc);
        return c;
    }
    void expectNothingHappensAt(int x, int y) {
        Canvas shown = *view.screen();
        int tune = view.tuneIndex;
        view.OnLButtonDown(x, y);
        EXPECT_EQ(view.currentPage, kHomePage) << x << "," << y;
        EXPECT_EQ(view.tuneIndex, tune) << x << "," << y;
        EXPECT_TRUE(platform.sounds.empty()) << x << "," << y;
        EXPECT_TRUE(*view.screen() == shown) << x << "," << y;
    }
};

Point centre(const Rect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

int firstDraw(std::uint32_t& state, int n) {
    state = state * 214013u + 2531011u;
    return int((state >> 16) & 0x7FFF) % n + 1;
}

// A pixel of a tune button's interior that its number never covers.
Point interiorCorner(const Rect& r) {
    return {r.left + 2, r.top + 2};
}

} // namespace

TEST(HomeClicks, EachShapePictureStartsItsShape) {
    const int vertices[] = {4, 6, 8, 10};
    for (int k = 0; k < 4; ++k) {
        Home h;
        Point c = centre(h.l().shapeButton[k]);
        h.view.OnLButtonDown(c.x, c.y);
        EXPECT_EQ(h.view.vertexCount, vertices[k]);
        EXPECT_EQ(h.view.currentPage, kGamePage);
        EXPECT_EQ(h.view.gamePhase, kDrawing);
        EXPECT_TRUE(*h.view.screen() == h.freshPaint()) << "the game page is shown at once";
        EXPECT_TRUE(h.platform.sounds.empty());
    }
}

TEST(HomeClicks, ShapePicturesAreTestedHexagonOctagonDecagonSquare) {
    // Stack pictures on one rectangle: the first in the order of the tests wins.
    struct Case {
        std::vector<int> stacked;
        int vertices;
    };
    const Case cases[] = {{{0, 1, 2, 3}, 6}, {{0, 2, 3}, 8}, {{0, 3}, 10}, {{0}, 4}};
    for (const Case& c : cases) {
        Home h;
        Rect target{300, 300, 380, 394};
        for (int k = 0; k < 4; ++k)
            h.view.layout.shapeButton[k] = Rect{0, 0, 0, 0};
        for (int k : c.stacked)
            h.view.layout.shapeButton[k] = target;
        h.view.OnLButtonDown(340, 350);
        EXPECT_EQ(h.view.vertexCount, c.vertices);
    }
}

TEST(HomeClicks, BordersOfShapesAndTuneButtonsHitNothing) {
    Home h;
    for (const Rect& r : h.l().shapeButton) {
        Point c = centre(r);
        h.expectNothingHappensAt(r.left, c.y);
        h.expectNothingHappensAt(r.right, c.y);
        h.expectNothingHappensAt(c.x, r.top);
        h.expectNothingHappensAt(c.x, r.bottom);
    }
    // The title row and the line above the first row of buttons are outside the panel.
    Point title = centre(h.l().tuneTitleRect);
    h.expectNothingHappensAt(title.x, title.y);
    h.expectNothingHappensAt(title.x, h.l().tuneButton[0].top);
    // Far from everything.
    h.expectNothingHappensAt(h.view.screen()->width() - 2, 2);
}

TEST(HomeClicks, TheStartVertexIsDrawnTwiceInTheFirstGameAndOnceLater) {
    Home h;
    std::uint32_t state = h.view.randomState;
    firstDraw(state, 6);
    int second = firstDraw(state, 6);
    Point c = centre(h.l().shapeButton[1]);
    h.view.OnLButtonDown(c.x, c.y);
    EXPECT_EQ(h.view.path[1], second);
    EXPECT_EQ(h.view.startVertexChosen, 1);
    EXPECT_EQ(h.view.randomState, state);

    // A later game: back home, then a shape click draws once and the paint keeps it.
    h.view.gamePhase = kFinished;
    h.view.OnKeyDown(36);
    ASSERT_EQ(h.view.currentPage, kHomePage);
    int only = firstDraw(state, 10);
    c = centre(h.l().shapeButton[3]);
    h.view.OnLButtonDown(c.x, c.y);
    EXPECT_EQ(h.view.path[1], only);
    EXPECT_EQ(h.view.randomState, state);
}

TEST(HomeClicks, StartVerticesCoverEveryVertexAndNoOther) {
    Home h;
    std::vector<int> seen(11, 0);
    h.view.startVertexChosen = 1;
    for (int game = 0; game < 400; ++game) {
        h.view.currentPage = kHomePage;
        h.view.gamePhase = kDrawing;
        Point c = centre(h.l().shapeButton[3]);
        h.view.homeClick(c.x, c.y);
        ASSERT_GE(h.view.path[1], 1);
        ASSERT_LE(h.view.path[1], 10);
        ++seen[h.view.path[1]];
    }
    for (int v = 1; v <= 10; ++v)
        EXPECT_GT(seen[v], 0) << "vertex " << v;
}

TEST(HomeClicks, TuneTwentyIsHighlightedInColourFourAndPlaysAllButItsLastNote) {
    Home h;
    const Rect first = h.l().tuneButton[0];
    const Rect last = h.l().tuneButton[19];
    Point c = centre(last);
    h.view.OnLButtonDown(c.x, c.y);

    EXPECT_EQ(h.view.tuneIndex, 19);
    EXPECT_EQ(h.view.currentPage, kHomePage);
    const std::int32_t* row = tuneRow(19);
    std::vector<fake::PlayedSound> expected;
    for (int j = 1; j < row[0]; ++j)
        expected.push_back({h.view.noteResource[row[j]], true});
    EXPECT_EQ(expected.size(), 14u);
    EXPECT_EQ(h.platform.sounds, expected);
    ASSERT_FALSE(h.platform.presentsBeforeSyncSound.empty());
    EXPECT_GT(h.platform.presentsBeforeSyncSound.front(), 1) << "shown before the first note";

    const Canvas& s = *h.view.screen();
    Point in = interiorCorner(last);
    EXPECT_EQ(s.pixel(in.x, in.y), h.view.pieceBrush[4].colour);
    // The grid lines on the button's top and left edges stay black.
    EXPECT_EQ(s.pixel(in.x, last.top), kBlack);
    EXPECT_EQ(s.pixel(last.left, in.y), kBlack);
    // Tune 1 lost its highlight; only its left column, left of the grid, keeps the colour.
    Point old = interiorCorner(first);
    EXPECT_EQ(s.pixel(old.x, old.y), kWhite);
    EXPECT_EQ(s.pixel(first.left + 1, old.y), kWhite);

    // The next full paint shows tune 20 in colour 61.
    h.view.paint();
    EXPECT_EQ(h.view.screen()->pixel(in.x, in.y), Colour(165, 205, 105));
    EXPECT_EQ(h.view.screen()->pixel(old.x, old.y), kWhite);
}

TEST(HomeClicks, ClickingTheSelectedTuneOneReplaysItInTheFullPaintColour) {
    Home h;
    Point c = centre(h.l().tuneButton[0]);
    h.view.OnLButtonDown(c.x, c.y);
    h.view.OnLButtonDown(c.x, c.y);
    EXPECT_EQ(h.view.tuneIndex, 0);
    EXPECT_EQ(h.platform.sounds.size(), 2u * std::size_t(tuneRow(0)[0] - 1));
    EXPECT_TRUE(*h.view.screen() == h.freshPaint());
    Point in = interiorCorner(h.l().tuneButton[0]);
    EXPECT_EQ(h.view.screen()->pixel(in.x, in.y), Colour(125, 225, 182));
}

TEST(HomeClicks, AGridLineInsideThePanelUnhighlightsButKeepsTheTune) {
    Home h;
    Point c = centre(h.l().tuneButton[14]);
    h.view.OnLButtonDown(c.x, c.y);
    ASSERT_EQ(h.view.tuneIndex, 14);
    h.platform.sounds.clear();

    // The line between tunes 3 and 4, and the column line between 5 and 15.
    const Rect& b4 = h.l().tuneButton[3];
    h.view.OnLButtonDown(centre(b4).x, b4.top);
    h.view.OnLButtonDown(h.l().tuneButton[4].right, centre(h.l().tuneButton[4]).y);
    EXPECT_EQ(h.view.tuneIndex, 14);
    EXPECT_TRUE(h.platform.sounds.empty());
    Point in = interiorCorner(h.l().tuneButton[14]);
    EXPECT_EQ(h.view.screen()->pixel(in.x, in.y), kWhite);
    // A shape click after it still plays with tune 15 selected.
    Point s = centre(h.l().shapeButton[0]);
    h.view.OnLButtonDown(s.x, s.y);
    EXPECT_EQ(h.view.tuneIndex, 14);
}

TEST(HomeClicks, BeforeTheFirstPaintAClickDoesNothing) {
    fake::FakePlatform platform;
    CMekkView view(platform);
    view.OnLButtonDown(400, 600);
    view.homeClick(400, 600);
    EXPECT_EQ(view.currentPage, kHomePage);
    EXPECT_TRUE(platform.sounds.empty());
}
