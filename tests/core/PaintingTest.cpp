// Painting of both pages: the window title, the lazy start vertex and the home page.
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

int countPixels(const Canvas& c, const Rect& r, Colour colour) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            n += c.pixel(x, y) == colour;
    return n;
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

TEST(Painting, TheHomePageShowsTitlePicturesAndTheTunePanel) {
    fake::FakePlatform platform;
    CMekkView view(platform);
    view.paint();
    const Canvas& s = *view.screen();
    const Layout& l = view.layout;

    EXPECT_GT(countPixels(s, l.titleRect, Colour(32, 200, 120)), 50) << "the title";
    EXPECT_GT(countPixels(s, l.introRect, kBlack), 1000) << "the introduction";

    for (int k = 0; k < 4; ++k) {
        const Canvas& picture = view.shapePicture[k];
        ASSERT_EQ(picture.width(), 80);
        ASSERT_EQ(picture.height(), 94);
        int differing = 0;
        for (int y = 0; y < 94; ++y)
            for (int x = 0; x < 80; ++x)
                differing += s.pixel(l.shapeButton[k].left + x, l.shapeButton[k].top + y) !=
                             picture.pixel(x, y);
        EXPECT_EQ(differing, 0) << "picture " << k;
    }

    // The frame and the grid in black, the title row in light cyan.
    const Rect& o = l.tunePanelOutline;
    EXPECT_EQ(s.pixel(o.left, (o.top + o.bottom) / 2), kBlack);
    EXPECT_EQ(s.pixel(o.right - 1, (o.top + o.bottom) / 2), kBlack);
    EXPECT_EQ(s.pixel((o.left + o.right) / 2, o.bottom - 1), kBlack);
    EXPECT_EQ(s.pixel(l.tuneButton[0].right, (l.tuneButton[5].top + l.tuneButton[5].bottom) / 2),
              kBlack);
    EXPECT_EQ(s.pixel(l.tuneButton[12].left + 3, l.tuneButton[12].top), kBlack);
    EXPECT_EQ(s.pixel(l.tuneTitleRect.left + 1, l.tuneTitleRect.top + 1), Colour(192, 255, 255));

    // Tune 1 is highlighted, the others are white, each with its number in black.
    EXPECT_EQ(s.pixel(l.tuneButton[0].left + 2, l.tuneButton[0].top + 2), Colour(125, 225, 182));
    for (int i = 1; i < 20; ++i)
        EXPECT_EQ(s.pixel(l.tuneButton[i].left + 2, l.tuneButton[i].top + 2), kWhite) << i;
    for (int i = 0; i < 20; ++i)
        EXPECT_GT(countPixels(s, l.tuneButton[i], kBlack), 0) << i;
}

TEST(Painting, TheSelectedTuneIsHighlightedOneColourStepPerTune) {
    fake::FakePlatform platform;
    CMekkView view(platform);
    view.tuneIndex = 19;
    view.paint();
    const Layout& l = view.layout;
    EXPECT_EQ(view.screen()->pixel(l.tuneButton[19].left + 2, l.tuneButton[19].top + 2),
              Colour(165, 205, 105));
    EXPECT_EQ(view.screen()->pixel(l.tuneButton[0].left + 2, l.tuneButton[0].top + 2), kWhite);
}

TEST(Painting, APaintOverAnythingRebuildsTheSamePage) {
    fake::FakePlatform platform;
    CMekkView view(platform);
    view.paint();
    Canvas clean = *view.screen();
    Canvas dirty(clean.width(), clean.height());
    dirty.clear(Colour(10, 20, 30));
    DrawingContext dc(dirty);
    view.OnDraw(dc);
    EXPECT_TRUE(dirty == clean);
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
