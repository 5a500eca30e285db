// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// Text on the canvas: one line left, centred or right in its rectangle, or word-wrapped from
// its top-left corner, and the fitting of a text the player must read into its rectangle.
#include "screen/canvas/Canvas.h"

#include <algorithm>
#include <cstdint>

namespace tess {

namespace {

using i64 = std::int64_t;

// The lines of text word-wrapped in r in font, as drawText lays them out: each line takes as
// many whole words as fit in the rectangle's width; a '\n' always ends a line; a word wider
// than the line stands alone. line(text of the line, top of its cell) is called for every line
// that starts above r's bottom. Returns whether every line with something on it did.
template <class LineFn>
bool wrapLines(const Font& font, std::string_view text, const Rect& r, LineFn&& line) {
    const int cell = font.cellHeight();
    const i64 maxWidth = i64(r.right) - r.left;
    i64 y = r.top;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view para = text.substr(pos, end - pos);
        if (!para.empty() && para.back() == '\r') para.remove_suffix(1);
        bool firstLine = true;
        while (firstLine || !para.empty()) {
            if (y >= r.bottom) {
                // Lines below the rectangle: lost, unless they are blank.
                const std::size_t at = std::size_t(para.data() - text.data());
                return text.find_first_not_of(" \r\n", at) == std::string_view::npos;
            }
            firstLine = false;
            // Take words while the line fits. A text's width is the sum of its glyphs'
            // advances, so the line's width grows word by word.
            std::size_t take = 0;
            i64 width = 0;
            while (take < para.size()) {
                // The word's blanks before it, then the word up to the next blank.
                const std::size_t wordEnd =
                    std::min(para.find(' ', para.find_first_not_of(' ', take)), para.size());
                const i64 wider = width + font.extent(para.substr(take, wordEnd - take)).cx;
                if (take != 0 && wider > maxWidth) break;
                take = wordEnd;
                width = wider;
            }
            line(para.substr(0, take), int(y));
            y += cell;
            para.remove_prefix(take);
            para.remove_prefix(std::min(para.find_first_not_of(' '), para.size()));
        }
        pos = end + 1;
    }
    return true;
}

// Where a single line of text starts in r: its cell's top-left corner.
Point singleLineOrigin(const Font& font, std::string_view text, const Rect& r, TextForm form) {
    const int width = font.extent(text).cx;
    int x = r.left;
    if (form == TextForm::SingleCentre) x = int((i64(r.left) + r.right - width) / 2);
    if (form == TextForm::SingleRight) x = int(i64(r.right) - width);
    return {x, int((i64(r.top) + r.bottom - font.cellHeight()) / 2)};
}

// Whether the ink of a line of text whose cell starts at (x, y) lies wholly inside r.
bool inkInside(const Font& font, std::string_view text, i64 x, i64 y, const Rect& r) {
    const Rect ink = font.inkBox(text);
    if (ink.left >= ink.right) return true; // nothing inked
    return x + ink.left >= r.left && x + ink.right <= r.right && y + ink.top >= r.top &&
           y + ink.bottom <= r.bottom;
}

} // namespace

void DrawingContext::drawText(std::string_view text, const Rect& r, TextForm form) {
    drawTextIn(font_, text, r, form);
}

void DrawingContext::drawTextIn(const Font& font, std::string_view text, const Rect& r,
                                TextForm form) {
    if (font.empty() || r.empty()) return;
    if (textLog_) textLog_->push_back({std::string(text), r, form, textColour_, font});
    if (form != TextForm::WordWrap) {
        const Point at = singleLineOrigin(font, text, r, form);
        font.draw(*canvas_, text, at.x, at.y, textColour_, r);
        return;
    }
    wrapLines(font, text, r, [&](std::string_view line, int y) {
        font.draw(*canvas_, line, r.left, y, textColour_, r);
    });
}

bool DrawingContext::textFits(const Font& font, std::string_view text, const Rect& r,
                              TextForm form) {
    if (font.empty() || r.empty()) return false;
    if (form != TextForm::WordWrap) {
        const Point at = singleLineOrigin(font, text, r, form);
        return inkInside(font, text, at.x, at.y, r);
    }
    bool inside = true;
    const bool whole = wrapLines(font, text, r, [&](std::string_view line, int y) {
        inside = inside && inkInside(font, line, r.left, y, r);
    });
    return whole && inside;
}

Font DrawingContext::fittingFont(std::string_view text, const Rect& r, TextForm form) const {
    if (font_.empty() || textFits(font_, text, r, form)) return font_;
    // Hinted widths do not shrink steadily with the cell height: every height is tried, from
    // the selected font's down, and the first that fits is the largest.
    Font smallest = font_;
    for (int cell = font_.cellHeight() - 1; cell >= 1; --cell) {
        const Font smaller = font_.withCellHeight(cell);
        if (smaller.empty()) break;
        if (textFits(smaller, text, r, form)) return smaller;
        smallest = smaller;
    }
    return smallest;
}

void DrawingContext::drawTextFitted(std::string_view text, const Rect& r, TextForm form) {
    drawTextIn(fittingFont(text, r, form), text, r, form);
}

} // namespace tess
