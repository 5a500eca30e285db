// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// Painting of both pages: the window title, the lazy start vertex, and windows too small for
// the layout. What each page shows is compared pixel for pixel by the golden pages.
#include "game/CMekkView.h"
#include "game/ShapeTable.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

#include <ctime>
#include <string>

using namespace tess;

namespace {

std::string localTimeText(std::time_t t) {
    std::tm local{};
    localtime_r(&t, &local);
    char buffer[128];
    return std::string(buffer, std::strftime(buffer, sizeof buffer, "%c", &local));
}

} // namespace

TEST(Painting, EveryPaintTitlesTheWindowWithItsTimeAndTheVersion) {
    fake::FakePlatform platform;
    CMekkView view(platform);
    std::time_t before = std::time(nullptr);
    view.paint();
    std::time_t after = std::time(nullptr);
    ASSERT_EQ(platform.titles.size(), 1u);
    const std::string& title = platform.titles[0];
    const std::string head = "Tessarin -- ";
    const std::string tail = std::string(" -- Version ") + versionText;
    ASSERT_EQ(title.rfind(head, 0), 0u) << title;
    ASSERT_GT(title.size(), head.size() + tail.size());
    ASSERT_EQ(title.substr(title.size() - tail.size()), tail) << title;
    std::string time = title.substr(head.size(), title.size() - head.size() - tail.size());
    EXPECT_TRUE(time == localTimeText(before) || time == localTimeText(after)) << time;

    // The game page sets it too, on any canvas.
    view.currentPage = kGamePage;
    Canvas other(200, 100);
    DrawingContext dc(other);
    view.OnDraw(dc);
    EXPECT_EQ(platform.titles.size(), 2u);
}

TEST(Painting, TheGamePagePicksItsStartVertexOnceAtItsFirstPaint) {
    for (int n : {4, 6, 8, 10}) {
        fake::FakePlatform platform;
        CMekkView view(platform);
        view.randomState = 4242u + std::uint32_t(n);
        view.paint();
        view.currentPage = kGamePage;
        view.vertexCount = n;
        std::uint32_t state = view.randomState * 214013u + 2531011u;
        view.paint();
        EXPECT_EQ(view.path[1], int((state >> 16) & 0x7FFF) % n + 1);
        EXPECT_EQ(view.startVertexChosen, 1);
        EXPECT_EQ(view.randomState, state);
        Canvas first = *view.screen();

        int start = view.path[1];
        view.paint();
        EXPECT_EQ(view.path[1], start);
        EXPECT_EQ(view.randomState, state);
        EXPECT_TRUE(*view.screen() == first);
        // The start vertex is red on the board.
        Point centre = view.layout.vertexCentre[n][start];
        EXPECT_EQ(view.screen()->pixel(centre.x, centre.y), Colour(255, 72, 72)) << n;
    }
}

TEST(Painting, WindowsTooSmallForTheLayoutPaintWithoutFault) {
    for (Size size : {Size{1, 1}, Size{300, 60}, Size{120, 68}, Size{0, 0}}) {
        fake::FakePlatform platform(size);
        CMekkView view(platform);
        view.paint();
        ASSERT_NE(view.screen(), nullptr);
        for (int n : {4, 6, 8, 10}) {
            view.currentPage = kGamePage;
            view.vertexCount = n;
            view.startVertexChosen = 0;
            view.paint();
            EXPECT_GE(view.path[1], 1);
            EXPECT_LE(view.path[1], n);
        }
    }
}
