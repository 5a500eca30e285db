// Monochrome text: sizes by cell height, exact colours, clipping and word wrap.
#include "screen/Font.h"
#include "screen/Canvas.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>

using namespace tess;

namespace {

constexpr Colour kInk{80, 130, 220};
constexpr Colour kPaper{220, 220, 240};

struct Ink {
    int count = 0;
    Rect box{INT_MAX, INT_MAX, INT_MIN, INT_MIN}; // bounding box of the inked pixels
    bool foreign = false;                         // a pixel neither ink nor paper
};

Ink inkOf(const Canvas& c) {
    Ink ink;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) {
            const Colour p = c.pixel(x, y);
            if (p == kInk) {
                ++ink.count;
                ink.box = {std::min(ink.box.left, x), std::min(ink.box.top, y),
                           std::max(ink.box.right, x + 1), std::max(ink.box.bottom, y + 1)};
            } else if (p != kPaper) {
                ink.foreign = true;
            }
        }
    return ink;
}

Canvas paper(int w, int h) {
    Canvas c(w, h);
    c.clear(kPaper);
    return c;
}

} // namespace

TEST(Font, ArialIsLiberationSansAndFitsTheCellHeight) {
    EXPECT_EQ(Font::matchedFamily("Arial"), "Liberation Sans");
    EXPECT_EQ(Font::matchedFamily("Arial Bold"), "Liberation Sans");
    for (int cell : {8, 13, 16, 20, 33, 64}) {
        for (const char* face : {"Arial", "Arial Bold"}) {
            const Font f = Font::create(face, cell);
            ASSERT_FALSE(f.empty());
            EXPECT_LE(f.cellHeight(), cell) << face << " " << cell;
            EXPECT_GE(f.cellHeight(), cell - 2) << face << " " << cell;
            EXPECT_GT(f.ascent(), f.cellHeight() / 2);
            EXPECT_EQ(f.extent("Hexagon").cy, f.cellHeight());
        }
    }
    const Font regular = Font::create("Arial", 40);
    const Font bold = Font::create("Arial Bold", 40);
    EXPECT_GT(bold.extent("Decagon").cx, regular.extent("Decagon").cx);
}

TEST(Font, EmptyFontsDrawAndMeasureNothing) {
    for (int cell : {0, -5, INT_MIN}) {
        const Font f = Font::create("Arial", cell);
        EXPECT_TRUE(f.empty());
        EXPECT_EQ(f.extent("Score"), (Size{0, 0}));
    }
    Canvas c = paper(50, 20);
    DrawingContext dc(c);
    dc.setTextColour(kInk);
    dc.drawText("Score", {0, 0, 50, 20}, TextForm::SingleLeft); // no font selected
    EXPECT_EQ(inkOf(c).count, 0);
    EXPECT_EQ(dc.textExtent("Score"), (Size{0, 0}));
}

TEST(Font, ExtentAddsAdvancesAndTextIsPureInk) {
    const Font f = Font::create("Arial", 20);
    EXPECT_EQ(f.extent("").cx, 0);
    EXPECT_EQ(f.extent("AB").cx, f.extent("A").cx + f.extent("B").cx);
    EXPECT_GT(f.extent(" ").cx, 0);
    Canvas c = paper(400, 40);
    f.draw(c, "Game Aborted. Press the Enter key", 3, 5, kInk, {0, 0, 400, 40});
    const Ink ink = inkOf(c);
    EXPECT_FALSE(ink.foreign);
    EXPECT_GT(ink.count, 100);
    EXPECT_GE(ink.box.top, 5);
    EXPECT_LE(ink.box.bottom, 5 + f.cellHeight());
    EXPECT_LE(ink.box.right, 3 + f.extent("Game Aborted. Press the Enter key").cx + 2);
}

TEST(DrawText, SingleLineAlignmentsAndVerticalCentre) {
    const Font f = Font::create("Arial Bold", 18);
    const Rect box{20, 10, 220, 60};
    int lefts[3];
    int index = 0;
    for (TextForm form : {TextForm::SingleLeft, TextForm::SingleCentre, TextForm::SingleRight}) {
        Canvas c = paper(240, 80);
        DrawingContext dc(c);
        dc.selectFont(f);
        dc.setTextColour(kInk);
        dc.drawText("Next Color", box, form);
        const Ink ink = inkOf(c);
        EXPECT_FALSE(ink.foreign);
        EXPECT_GE(ink.box.left, box.left);
        EXPECT_LE(ink.box.right, box.right);
        // The cell's top is (top + bottom - cell height) / 2.
        const int cellTop = (box.top + box.bottom - f.cellHeight()) / 2;
        EXPECT_GE(ink.box.top, cellTop);
        EXPECT_LE(ink.box.bottom, cellTop + f.cellHeight());
        lefts[index++] = ink.box.left;
    }
    const int width = f.extent("Next Color").cx;
    EXPECT_NEAR(lefts[0], box.left, 3);
    EXPECT_NEAR(lefts[1], box.left + (box.width() - width) / 2, 3);
    EXPECT_NEAR(lefts[2], box.right - width, 3);
}

TEST(DrawText, ClippedToItsRectangle) {
    const Font f = Font::create("Arial", 30);
    for (TextForm form : {TextForm::SingleLeft, TextForm::SingleCentre, TextForm::SingleRight,
                          TextForm::WordWrap}) {
        Canvas c = paper(200, 100);
        DrawingContext dc(c);
        dc.selectFont(f);
        dc.setTextColour(kInk);
        const Rect box{40, 30, 90, 45}; // narrower and lower than the text
        dc.drawText("WWWWWWWWWWWW", box, form);
        const Ink ink = inkOf(c);
        EXPECT_GT(ink.count, 0);
        EXPECT_GE(ink.box.left, box.left);
        EXPECT_GE(ink.box.top, box.top);
        EXPECT_LE(ink.box.right, box.right);
        EXPECT_LE(ink.box.bottom, box.bottom);
    }
    // Text running off the canvas never writes outside it.
    Canvas small = paper(10, 10);
    DrawingContext dc(small);
    dc.selectFont(f);
    dc.setTextColour(kInk);
    dc.drawText("Hexagon", {-1000, -1000, 1000, 1000}, TextForm::SingleCentre);
    dc.drawText("Hexagon", {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, TextForm::WordWrap);
    EXPECT_FALSE(inkOf(small).foreign);
}

TEST(DrawText, WordWrapBreaksAtNewlinesAndBetweenWordsAtTheRightEdge) {
    const Font f = Font::create("Arial", 16);
    const int cell = f.cellHeight();
    const auto rowsInked = [&](const Canvas& c) {
        std::vector<bool> rows;
        for (int line = 0; line * cell < c.height(); ++line) {
            bool any = false;
            for (int y = line * cell; y < std::min((line + 1) * cell, c.height()); ++y)
                for (int x = 0; x < c.width(); ++x)
                    any = any || c.pixel(x, y) == kInk;
            rows.push_back(any);
        }
        return rows;
    };
    // The text word-wrapped on paper of the given width, lines cells high.
    const auto wrapped = [&](std::string_view text, int width, int lines) {
        Canvas c = paper(width, cell * lines);
        DrawingContext dc(c);
        dc.selectFont(f);
        dc.setTextColour(kInk);
        dc.drawText(text, {0, 0, width, cell * lines}, TextForm::WordWrap);
        return c;
    };
    {
        Canvas c = wrapped("Square\n\nHexagon", 300, 5);
        EXPECT_EQ(rowsInked(c), (std::vector<bool>{true, false, true, false, false}));
    }
    {
        // Three words, only two fit a line: the third goes below, not clipped away.
        const int width = f.extent("Octagon Decagon").cx + 2;
        Canvas c = wrapped("Octagon Decagon Square", width, 3);
        EXPECT_EQ(rowsInked(c), (std::vector<bool>{true, true, false}));
        // The second line starts at the left edge, its leading space dropped.
        int firstInk = width;
        for (int y = cell; y < 2 * cell; ++y)
            for (int x = 0; x < width; ++x)
                if (c.pixel(x, y) == kInk) firstInk = std::min(firstInk, x);
        EXPECT_LE(firstInk, 3);
    }
    {
        // A word longer than the line stands alone, then wrapping carries on.
        const int width = f.extent("Tune").cx + 2;
        Canvas c = wrapped("Instructions a", width, 4);
        EXPECT_EQ(rowsInked(c), (std::vector<bool>{true, true, false, false}));
    }
}

TEST(Font, RecreatingAndDrawingAPageIsCheap) {
    Font::create("Arial", 40); // first making is allowed to take time
    Canvas c = paper(3840, 2160);
    DrawingContext dc(c);
    dc.setTextColour(kInk);
    const auto start = std::chrono::steady_clock::now();
    for (int paint = 0; paint < 10; ++paint) {
        dc.selectFont(Font::create("Arial", 40));
        for (int line = 0; line < 20; ++line)
            dc.drawText("Color every closed piece by clicking inside it with the mouse.",
                        {0, line * 100, 3840, line * 100 + 100}, TextForm::WordWrap);
    }
    const auto ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(ms / 10, 20.0); // a paint's worth of text, with a wide margin for slow machines
}
