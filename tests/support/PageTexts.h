// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// What a page says, read from the drawing contexts instead of the pixels: every text drawn,
// with its rectangle, form, colour and font, written one a line so that a test compares the
// words the player reads and a failure shows them.
#pragma once
#include "game/CMekkView.h"
#include "screen/TextColours.h"

#include <cstdio>
#include <string>
#include <vector>

namespace tess::test {

// Every text a fresh paint of the view's page draws, in the order drawn.
inline std::vector<DrawnText> pageTexts(CMekkView& view) {
    Canvas fresh(view.screen()->width(), view.screen()->height());
    DrawingContext dc(fresh);
    std::vector<DrawnText> texts;
    dc.logTextTo(&texts);
    view.OnDraw(dc);
    return texts;
}

// One text as "<form> <colour> <font>: <text>", the colour and font by the names the pages
// give them ("count", "label", "normal", "largeBold"...), a font the view does not hold by its
// cell height.
inline std::string said(const DrawnText& t, const DrawingTools& tools) {
    const char* form = t.form == TextForm::SingleLeft     ? "left"
                       : t.form == TextForm::SingleCentre ? "centre"
                       : t.form == TextForm::SingleRight  ? "right"
                                                          : "wrapped";
    struct Named {
        Colour colour;
        const char* name;
    };
    const Named colours[] = {{kBlack, "black"},           {kCountColour, "count"},
                             {kMaximumColour, "maximum"}, {kLabelColour, "label"},
                             {kScoreColour, "score"},     {kNoteColour, "note"},
                             {kTitleColour, "title"}};
    char colour[16];
    std::snprintf(colour, sizeof colour, "#%06x", unsigned(t.colour.argb & 0xFFFFFFu));
    std::string colourName = colour;
    for (const Named& n : colours)
        if (n.colour == t.colour) colourName = n.name;
    std::string font = "cell " + std::to_string(t.font.cellHeight());
    if (t.font == tools.largeBoldFont) font = "largeBold";
    if (t.font == tools.normalFont) font = "normal";
    if (t.font == tools.smallFont) font = "small";
    if (t.font == tools.boldFont) font = "bold";
    return std::string(form) + " " + colourName + " " + font + ": " + t.text;
}

// The texts drawn in exactly the rectangle r, in the order drawn.
inline std::vector<std::string> saidIn(const std::vector<DrawnText>& texts, const Rect& r,
                                       const DrawingTools& tools) {
    std::vector<std::string> out;
    for (const DrawnText& t : texts)
        if (t.rect == r) out.push_back(said(t, tools));
    return out;
}

// Every text drawn, whatever its rectangle.
inline std::vector<std::string> words(const std::vector<DrawnText>& texts) {
    std::vector<std::string> out;
    for (const DrawnText& t : texts)
        out.push_back(t.text);
    return out;
}

} // namespace tess::test
