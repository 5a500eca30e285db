// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// Texts the player must read are never cut by their rectangles: where the layout's font is
// too large for a rectangle, the text is drawn whole in a smaller font of the same face, and
// where it fits, it is drawn exactly as before.
#include "screen/TextColours.h"
#include "support/GameDriver.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <vector>

using namespace tess;
using tess::test::GameDriver;

namespace {

constexpr Colour kInk{80, 130, 220};
constexpr Colour kPaper{220, 220, 240};

Canvas paper(int w, int h) {
    Canvas c(w, h);
    c.clear(kPaper);
    return c;
}

Canvas drawn(const Font& font, std::string_view text, const Rect& r, TextForm form, bool fitted) {
    Canvas c = paper(400, 200);
    DrawingContext dc(c);
    dc.selectFont(font);
    dc.setTextColour(kInk);
    if (fitted)
        dc.drawTextFitted(text, r, form);
    else
        dc.drawText(text, r, form);
    return c;
}

std::vector<std::string> wordsOf(std::string_view text) {
    std::vector<std::string> words;
    std::string word;
    for (char ch : text) {
        if (ch == ' ' || ch == '\n') {
            if (!word.empty()) words.push_back(word);
            word.clear();
        } else {
            word += ch;
        }
    }
    if (!word.empty()) words.push_back(word);
    return words;
}

// Whether every word of text stands on the page inside r, in reading order, drawn in font and
// colour: for each word, a place on one of the text's cell rows where the page, over the
// word's box (its advance and its ink), has the colour exactly where the word inks. Pixels
// outside r never have it, so a word cut by r is not found, nor the words of another font.
bool everyWordDrawn(const Canvas& page, Colour colour, const Font& font, std::string_view text,
                    const Rect& r, TextForm form) {
    const int cell = font.cellHeight();
    if (cell <= 0) return false;
    std::vector<int> rowTops;
    if (form == TextForm::WordWrap) {
        for (int y = r.top; y < r.bottom; y += cell)
            rowTops.push_back(y);
    } else {
        rowTops.push_back((r.top + r.bottom - cell) / 2);
    }
    const auto inked = [&](int x, int y) {
        return x >= r.left && x < r.right && y >= r.top && y < r.bottom &&
               page.pixel(x, y) == colour;
    };
    std::size_t row = 0;
    int fromX = r.left - cell;
    for (const std::string& word : wordsOf(text)) {
        // The word alone, relative to its cell's top-left corner, with a margin of a cell.
        const Size extent = font.extent(word);
        Canvas alone(extent.cx + 2 * cell, 3 * cell);
        alone.clear(kWhite);
        font.draw(alone, word, cell, cell, kBlack, {0, 0, alone.width(), alone.height()});
        const Rect ink = font.inkBox(word);
        const Rect box{std::min(0, ink.left), std::min(0, ink.top), std::max(extent.cx, ink.right),
                       std::max(cell, ink.bottom)};
        std::vector<Point> inkPixels;
        for (int dy = box.top; dy < box.bottom; ++dy)
            for (int dx = box.left; dx < box.right; ++dx)
                if (alone.pixel(cell + dx, cell + dy) == kBlack) inkPixels.push_back({dx, dy});
        const auto matches = [&](int x, int y) {
            for (const Point& p : inkPixels) // the quick refusal first
                if (!inked(x + p.x, y + p.y)) return false;
            for (int dy = box.top; dy < box.bottom; ++dy)
                for (int dx = box.left; dx < box.right; ++dx)
                    if (inked(x + dx, y + dy) != (alone.pixel(cell + dx, cell + dy) == kBlack))
                        return false;
            return true;
        };
        bool found = false;
        for (; row < rowTops.size() && !found; ++row, fromX = r.left - cell) {
            for (int x = fromX; x < r.right && !found; ++x)
                if (matches(x, rowTops[row])) {
                    found = true;
                    fromX = x + extent.cx;
                }
            if (found) break;
        }
        if (!found) return false;
    }
    return true;
}

// The largest cell height of font's face, not above font's, in which every word of the text
// stands on the page; 0 when there is none.
int cellOfDrawnText(const Canvas& page, Colour colour, const Font& font, std::string_view text,
                    const Rect& r, TextForm form) {
    for (int cell = font.cellHeight(); cell >= 1; --cell)
        if (everyWordDrawn(page, colour, font.withCellHeight(cell), text, r, form)) return cell;
    return 0;
}

} // namespace

TEST(DrawTextFitted, ATextItsRectangleHoldsIsDrawnExactlyAsBefore) {
    const Font f = Font::create("Arial", 18);
    const std::string line = "Next Color";
    const Rect wide{10, 10, 10 + f.extent(line).cx + 6, 10 + f.cellHeight() + 4};
    for (TextForm form : {TextForm::SingleLeft, TextForm::SingleCentre, TextForm::SingleRight}) {
        EXPECT_EQ(drawn(f, line, wide, form, true), drawn(f, line, wide, form, false));
        Canvas scratch(1, 1);
        DrawingContext dc(scratch);
        dc.selectFont(f);
        EXPECT_EQ(dc.fittingFont(line, wide, form).cellHeight(), f.cellHeight());
    }
    const std::string para = "Check your score above.\nTo play again, press the Enter key.";
    const Rect box{5, 5, 395, 195};
    EXPECT_EQ(drawn(f, para, box, TextForm::WordWrap, true),
              drawn(f, para, box, TextForm::WordWrap, false));
}

TEST(DrawTextFitted, ALineTooWideIsDrawnWholeInTheLargestFontThatFits) {
    for (const char* face : {"Arial", "Arial Bold"}) {
        const Font f = Font::create(face, 20);
        const std::string title = "Select and Play a Tune";
        // Two thirds of the width it needs: plain drawing cuts it at both ends.
        const int width = f.extent(title).cx * 2 / 3;
        const Rect r{30, 40, 30 + width, 40 + f.cellHeight()};
        const Canvas cut = drawn(f, title, r, TextForm::SingleCentre, false);
        EXPECT_FALSE(everyWordDrawn(cut, kInk, f, title, r, TextForm::SingleCentre));

        const Canvas whole = drawn(f, title, r, TextForm::SingleCentre, true);
        const int cell = cellOfDrawnText(whole, kInk, f, title, r, TextForm::SingleCentre);
        ASSERT_GT(cell, 0) << face;
        EXPECT_LT(cell, f.cellHeight());
        // The largest that fits: one pixel taller no longer does.
        EXPECT_FALSE(
            DrawingContext::textFits(f.withCellHeight(cell + 1), title, r, TextForm::SingleCentre));
        // The same face: drawn exactly as that font of the face draws it.
        Canvas scratch(1, 1);
        DrawingContext dc(scratch);
        dc.selectFont(f);
        const Font used = dc.fittingFont(title, r, TextForm::SingleCentre);
        EXPECT_EQ(used.cellHeight(), cell);
        EXPECT_EQ(whole, drawn(Font::create(face, cell), title, r, TextForm::SingleCentre, false));
    }
}

TEST(DrawTextFitted, HopelessRectanglesDrawInTheSmallestFontAndNothingOutside) {
    const Font f = Font::create("Arial", 30);
    for (const Rect r : {Rect{10, 10, 14, 12}, Rect{10, 10, 10, 40}, Rect{50, 50, 20, 20}}) {
        const Canvas c = drawn(f, "Decagon", r, TextForm::SingleRight, true);
        for (int y = 0; y < c.height(); ++y)
            for (int x = 0; x < c.width(); ++x)
                if (c.pixel(x, y) == kInk) {
                    EXPECT_TRUE(x >= r.left && x < r.right && y >= r.top && y < r.bottom);
                }
    }
    Canvas scratch(1, 1);
    DrawingContext dc(scratch);
    dc.selectFont(f);
    EXPECT_EQ(dc.fittingFont("Decagon", {0, 0, 3, 3}, TextForm::WordWrap).cellHeight(), 1);
    dc.selectFont(Font());
    EXPECT_TRUE(dc.fittingFont("Decagon", {0, 0, 3, 3}, TextForm::WordWrap).empty());
}

// The score note and the tune panel's title, at window sizes from 640 x 480 to 7680 x 4320:
// every word stands inside its rectangle, in the layout's own font wherever that fits, and
// the page a repaint rebuilds is the one the handlers drew.
TEST(TextsThePlayerMustRead, AreWholeAtEveryWindowSize) {
    struct Aspect {
        int w, h;
    };
    const Aspect aspects[] = {{4, 3}, {5, 4}, {16, 10}, {16, 9}, {21, 9}};
    const int heights[] = {480,  600,  700,  768,  800,  900,  1024, 1050,
                           1080, 1200, 1440, 1600, 2160, 2880, 4320};
    std::vector<Size> sizes;
    for (int h : heights)
        for (const Aspect& a : aspects)
            if (h * a.w / a.h >= 640 && h * a.w / a.h <= 7680) sizes.push_back({h * a.w / a.h, h});

    // Where the layout's fonts were found cutting them: the note at 1280 x 1024 lost its last
    // line, the title at 800 x 600 both its ends. A wide screen keeps the layout's fonts.
    sizes.push_back({1280, 1024});
    sizes.push_back({800, 600});
    sizes.push_back({1920, 1080});
    std::set<std::string> noteShrunk, titleShrunk;
    int shape = 0;
    for (const Size size : sizes) {
        const std::string at = std::to_string(size.cx) + "x" + std::to_string(size.cy);
        GameDriver g(size);
        const CMekkView& v = g.view;

        const char* title = "Select and Play a Tune";
        const int titleCell = cellOfDrawnText(g.screen(), kBlack, v.smallFont, title,
                                              v.layout.tuneTitleRect, TextForm::SingleCentre);
        EXPECT_GT(titleCell, 0) << at;
        if (titleCell < v.smallFont.cellHeight()) titleShrunk.insert(at);

        const int n = 4 + 2 * (shape++ % 4);
        g.startGame(n, 1);
        g.end();
        g.end();
        ASSERT_EQ(v.gamePhase, kFinished);
        const std::string note = v.scoreNote;
        const int noteCell = cellOfDrawnText(g.screen(), kNoteColour, v.boldFont, note,
                                             v.layout.explanationRect, TextForm::WordWrap);
        EXPECT_GT(noteCell, 0) << at;
        if (noteCell < v.boldFont.cellHeight()) noteShrunk.insert(at);
        EXPECT_TRUE(g.repaint() == g.screen()) << at;
    }
    EXPECT_TRUE(noteShrunk.count("1280x1024"));
    EXPECT_TRUE(titleShrunk.count("800x600"));
    EXPECT_FALSE(noteShrunk.count("1920x1080") || titleShrunk.count("1920x1080"));
    EXPECT_LT(noteShrunk.size(), sizes.size() / 2);
    EXPECT_LT(titleShrunk.size(), sizes.size() / 2);
}

// On a narrow screen a total of four digits leaves "  Tot:" less room than its cell: the label
// gives way, whole, and never runs into the total.
TEST(TextsThePlayerMustRead, TheTotalsLabelGivesWayToALargeTotal) {
    GameDriver g({1125, 900});
    g.view.historyCount[0] = 3;
    g.view.historyList[0][1] = 700;
    g.view.historyList[0][2] = 700;
    g.view.historyList[0][3] = 700;
    g.startGame(4, 1);
    g.end();
    g.end(); // appends a fourth Square score, 0
    const CMekkView& v = g.view;
    const Rect cell = v.layout.historyCell[0][v.layout.historyCapacity() + 1];
    const Font& font = v.smallFont;
    ASSERT_EQ(v.historyList[0][v.layout.historyCapacity() + 1], 2100);
    // The page without the rule over the totals, which runs along the cell's top row.
    Canvas page = g.screen();
    for (int y = cell.top; y < cell.top + v.thinPen.width; ++y)
        for (int x = cell.left; x < cell.right; ++x)
            page.setPixel(x, y, kWhite);
    // The total, right-aligned in the layout's font, as it stands on the page.
    const int totalLeft = cell.right - font.extent("2100").cx + font.inkBox("2100").left;
    ASSERT_TRUE(everyWordDrawn(page, kBlack, font, "2100", cell, TextForm::SingleRight));
    // Drawn in the layout's font, "  Tot:" would touch or cover it.
    EXPECT_GE(cell.left + font.inkBox("  Tot:").right, totalLeft - 1);
    const Rect left{cell.left, cell.top, totalLeft - 1, cell.bottom};
    EXPECT_GT(cellOfDrawnText(page, kBlack, font, "Tot:", left, TextForm::SingleLeft), 0);
    // A blank column between the label and the total, below the rule over the totals.
    for (int y = cell.top; y < cell.bottom; ++y)
        EXPECT_NE(page.pixel(totalLeft - 1, y), kBlack);
}
