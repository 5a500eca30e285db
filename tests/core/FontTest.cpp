// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// Monochrome text: sizes by cell height, exact colours, clipping and word wrap.
#include "screen/canvas/Font.h"
#include "screen/canvas/Canvas.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>
#include <utility>
#include <vector>

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

// The four fonts of the layout at unit u: face and cell height.
struct LayoutFont {
    const char* face;
    int cell;
};
std::vector<LayoutFont> layoutFonts(int u) {
    return {
        {"Arial", 4 * u / 3}, {"Arial", 3 * u / 2}, {"Arial Bold", 2 * u}, {"Arial Bold", 4 * u}};
}

// The first and one-past-last inked column of each row of a glyph drawn alone, rows without
// ink left out.
std::vector<std::pair<int, int>> rowSpans(const Font& f, char ch) {
    const int cell = f.cellHeight();
    Canvas c = paper(f.extent(std::string(1, ch)).cx + 2 * cell, 3 * cell);
    f.draw(c, std::string(1, ch), cell, cell, kInk, {0, 0, c.width(), c.height()});
    std::vector<std::pair<int, int>> spans;
    for (int y = 0; y < c.height(); ++y) {
        int first = -1, last = -1;
        for (int x = 0; x < c.width(); ++x)
            if (c.pixel(x, y) == kInk) {
                if (first < 0) first = x;
                last = x + 1;
            }
        if (first >= 0) spans.push_back({first, last});
    }
    return spans;
}

// A round glyph's outline without notches: its left edge only moves out and then only back in,
// row by row, and so does its right edge; and a glyph of seven rows or more is widest over at
// least two rows, not at one row that sticks out.
bool roundWithoutNotches(const std::vector<std::pair<int, int>>& spans) {
    if (spans.empty()) return false;
    const auto unimodal = [&](auto edge, int outward) {
        std::size_t i = 0;
        while (i + 1 < spans.size() && outward * (edge(spans[i + 1]) - edge(spans[i])) >= 0)
            ++i;
        while (i + 1 < spans.size() && outward * (edge(spans[i + 1]) - edge(spans[i])) <= 0)
            ++i;
        return i + 1 == spans.size();
    };
    const auto widestRows = [&](auto edge, int outward) {
        int best = edge(spans[0]);
        for (const auto& s : spans)
            if (outward * edge(s) > outward * best) best = edge(s);
        int rows = 0;
        for (const auto& s : spans)
            rows += edge(s) == best;
        return rows;
    };
    const auto left = [](const std::pair<int, int>& s) { return s.first; };
    const auto right = [](const std::pair<int, int>& s) { return s.second; };
    if (!unimodal(left, -1) || !unimodal(right, 1)) return false;
    return spans.size() < 7 || (widestRows(left, -1) >= 2 && widestRows(right, 1) >= 2);
}

} // namespace

// Every font the layout makes, for every unit from 1 to 60, has exactly the cell height it
// asks for; a face pixel size that falls short is made up with a fraction. The history's rows
// and the tune panel's rows follow the small font's cell.
TEST(Font, TheLayoutsFourFontsHaveExactlyTheirCellHeightsForEveryUnit) {
    for (int u = 1; u <= 60; ++u) {
        for (const LayoutFont& lf : layoutFonts(u)) {
            const Font f = Font::create(lf.face, lf.cell);
            EXPECT_EQ(f.cellHeight(), lf.cell) << lf.face << " u " << u;
            EXPECT_EQ(f.extent("H").cy, lf.cell) << lf.face << " u " << u;
        }
    }
    // Sizes grow with the cell, a fraction where the whole size falls short (u = 18's small
    // font of 24 pixels), and every glyph is drawn.
    for (const char* face : {"Arial", "Arial Bold"}) {
        double previous = 0;
        for (int cell = 1; cell <= 300; ++cell) {
            const Font f = Font::create(face, cell);
            ASSERT_FALSE(f.empty()) << face << " " << cell;
            EXPECT_GT(f.pixelSize(), previous) << face << " " << cell;
            previous = f.pixelSize();
        }
    }
    const Font small18 = Font::create("Arial", 24);
    EXPECT_NE(small18.pixelSize(), int(small18.pixelSize()));
    EXPECT_GT(small18.extent("0123456789").cx, Font::create("Arial", 23).extent("0123").cx);
}

// The digit 0 of the totals and of the tune panel's "10" and "20", and the letters O and o,
// are drawn without one-pixel notches at every size the layout uses, up to an 8K screen.
TEST(Font, RoundGlyphsHaveCleanOutlinesAtEverySizeUsed) {
    std::set<std::pair<std::string, int>> done;
    for (int u = 1; u <= 73; ++u)
        for (const LayoutFont& lf : layoutFonts(u)) {
            if (!done.insert({lf.face, lf.cell}).second) continue;
            const Font f = Font::create(lf.face, lf.cell);
            for (char ch : {'0', 'O', 'o'})
                EXPECT_TRUE(roundWithoutNotches(rowSpans(f, ch)))
                    << lf.face << " cell " << lf.cell << " '" << ch << "'";
        }
}

// No glyph of a number inks past its advance: a number right-aligned in a rectangle just its
// width keeps every column, and two digits side by side never share one.
TEST(Font, NumbersKeepTheirLastColumnInsideARectangleTheirWidth) {
    std::set<std::pair<std::string, int>> done;
    for (int u = 1; u <= 73; ++u)
        for (const LayoutFont& lf : layoutFonts(u)) {
            if (!done.insert({lf.face, lf.cell}).second) continue;
            const Font f = Font::create(lf.face, lf.cell);
            for (const char* number : {"0", "4", "10", "20", "84", "209", "1400", "35000"}) {
                const int width = f.extent(number).cx;
                Canvas whole = paper(width + 4 * lf.cell, 3 * lf.cell);
                f.draw(whole, number, 2 * lf.cell, lf.cell, kInk,
                       {0, 0, whole.width(), whole.height()});
                Canvas fitted = paper(whole.width(), whole.height());
                DrawingContext dc(fitted);
                dc.selectFont(f);
                dc.setTextColour(kInk);
                dc.drawText(number, {2 * lf.cell, 0, 2 * lf.cell + width, 3 * lf.cell},
                            TextForm::SingleRight);
                EXPECT_EQ(inkOf(fitted).count, inkOf(whole).count)
                    << lf.face << " cell " << lf.cell << " " << number;
            }
        }
}

TEST(Font, ArialIsLiberationSansAndHasExactlyTheCellHeight) {
    EXPECT_EQ(Font::matchedFamily("Arial"), "Liberation Sans");
    EXPECT_EQ(Font::matchedFamily("Arial Bold"), "Liberation Sans");
    for (int cell : {8, 13, 16, 20, 33, 64}) {
        for (const char* face : {"Arial", "Arial Bold"}) {
            const Font f = Font::create(face, cell);
            ASSERT_FALSE(f.empty());
            EXPECT_EQ(f.cellHeight(), cell) << face << " " << cell;
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
    EXPECT_EQ(dc.font().extent("Score"), (Size{0, 0}));
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
    const std::string text = "Next Color";
    const int width = f.extent(text).cx;
    const Rect ink = f.inkBox(text); // relative to the cell's top-left corner
    // Rectangles of odd and even leftover width and height: the cell's left is the rectangle's
    // left, the middle of the leftover (rounded down) or its right less the text's advance; its
    // top is (top + bottom - cell height) / 2, rounded down.
    for (const Rect box : {Rect{20, 10, 220, 60}, Rect{21, 11, 222, 62}, Rect{3, 2, 150, 31}}) {
        const int cellTop = (box.top + box.bottom - f.cellHeight()) / 2;
        const int lefts[] = {box.left, box.left + (box.width() - width) / 2, box.right - width};
        int i = 0;
        for (TextForm form :
             {TextForm::SingleLeft, TextForm::SingleCentre, TextForm::SingleRight}) {
            Canvas c = paper(240, 80);
            DrawingContext dc(c);
            dc.selectFont(f);
            dc.setTextColour(kInk);
            dc.drawText(text, box, form);
            const Ink drawn = inkOf(c);
            EXPECT_FALSE(drawn.foreign);
            EXPECT_EQ(drawn.box.left, lefts[i] + ink.left) << box.left << " form " << i;
            EXPECT_EQ(drawn.box.right, lefts[i] + ink.right) << box.left << " form " << i;
            EXPECT_EQ(drawn.box.top, cellTop + ink.top) << box.top << " form " << i;
            EXPECT_EQ(drawn.box.bottom, cellTop + ink.bottom) << box.top << " form " << i;
            ++i;
        }
    }
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

// Every paint makes its fonts again: the same face at the same cell height is the font made
// before, with every glyph it rendered, so that only the first paint renders them. (What a
// paint costs is measured by the repaint benchmarks.)
TEST(Font, MakingAFontAgainGivesTheOneMadeBefore) {
    const Font first = Font::create("Arial", 40);
    EXPECT_TRUE(Font::create("Arial", 40) == first);
    EXPECT_TRUE(first.withCellHeight(40) == first);
    EXPECT_FALSE(Font::create("Arial", 41) == first);
    EXPECT_FALSE(Font::create("Arial Bold", 40) == first);
}

// Glyphs are rendered when a text first needs them, at the size of the font that asks. Two
// sizes of one face (sizes no other test uses), asked for glyph by glyph in turn, in four
// orders that each start at another glyph: the four pictures are alike, and every glyph lies
// inside its own font's cell.
TEST(Font, GlyphsMadeOnDemandInAnyOrderHaveTheirOwnFontsSize) {
    const Font small = Font::create("Arial Bold", 11);
    const Font large = Font::create("Arial Bold", 91);
    ASSERT_FALSE(small.empty());
    ASSERT_FALSE(large.empty());
    std::string all;
    for (char ch = '!'; ch <= '~'; ++ch)
        all += ch;
    const int slot = large.cellHeight();
    const int width = slot * int(all.size());
    const int height = small.cellHeight() + large.cellHeight();
    constexpr int kOrders = 4;
    std::vector<Canvas> drawn;
    for (int t = 0; t < kOrders; ++t)
        drawn.push_back(paper(width, height));
    for (std::size_t k = 0; k < all.size(); ++k)
        for (int t = 0; t < kOrders; ++t) {
            const std::size_t i = (k + std::size_t(t) * 23) % all.size();
            const std::string one(1, all[i]);
            const int x = slot * int(i);
            small.draw(drawn[std::size_t(t)], one, x, 0, kInk, {x, 0, x + slot, height});
            large.draw(drawn[std::size_t(t)], one, x, small.cellHeight(), kInk,
                       {x, 0, x + slot, height});
        }
    for (int t = 1; t < kOrders; ++t)
        EXPECT_TRUE(drawn[std::size_t(t)] == drawn[0]) << "order " << t;
    for (char ch : all) {
        const std::string one(1, ch);
        for (const Font* f : {&small, &large}) {
            const Rect ink = f->inkBox(one);
            // (The bar reaches a pixel below the cell at some sizes.)
            EXPECT_GE(ink.top, -1) << ch << " at " << f->cellHeight();
            EXPECT_LE(ink.bottom, f->cellHeight() + 1) << ch << " at " << f->cellHeight();
            EXPECT_LE(ink.right, f->extent(one).cx) << ch << " at " << f->cellHeight();
        }
    }
    const Rect h = large.inkBox("H");
    const Rect hSmall = small.inkBox("H");
    EXPECT_GT(h.bottom - h.top, 6 * (hSmall.bottom - hSmall.top));
    EXPECT_EQ(inkOf(drawn[0]).foreign, false);
}
