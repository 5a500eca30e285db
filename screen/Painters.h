// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The painters of the game's two pages. Each draws one part of a page from the values it is
// given, with the tools and into the layout of the paint, and changes nothing else: the rules
// decide, the painters only draw. A handler calls the painters of what it changed; a full
// paint calls them all, in the order the page is built, so that it rebuilds exactly the picture
// the handlers drew.
#pragma once
#include "screen/Layout.h"
#include "screen/Tools.h"
#include "screen/canvas/Canvas.h"

#include <string>

namespace tess {

// A page being painted: the drawing context, this paint's layout and the view's tools.
struct Page {
    DrawingContext& dc;
    const Layout& layout;
    const DrawingTools& tools;
};

// ---- The game page ----

// The board of a shape: every vertex circle, the path's lines from path[1] to
// path[pathLength] (each line's starting circle drawn again over the line's end) and the
// current vertex in red; then the drawing instruction in the message line.
void drawBoard(Page page, int vertexCount, const int* path, int pathLength);
// A counter: the count in red and its label in countRect, " out of:" and the maximum in green
// in maximumRect.
void drawCounter(Page page, const Rect& countRect, const char* label, int count,
                 const Rect& maximumRect, int maximum);
// The frame round the shape, the colouring instruction and the "Next Color" swatch.
void drawColouringFurniture(Page page, int vertexCount, int colourIndex);
// The "Next Color" swatch in the colour of the next piece.
void drawNextColour(Page page, int vertexCount, int colourIndex);
// The "Current Tune: N" box, which plays the tune when clicked.
void drawTuneBox(Page page, int vertexCount, int tuneIndex);
// Swatch and tune box erased and the abort message in the message line.
void drawAbortMessage(Page page, int vertexCount);
// Swatch and tune box erased and the score's explanation in the message line.
void drawResultPanel(Page page, int vertexCount, const std::string& explanation);
// The score with its label, and the score note beside the board.
void drawScore(Page page, int score, const std::string& scoreNote);
// The score history: a column per shape with its latest scores, the totals below them.
// count[s] scores of list[s][1..count[s]] are shown; list[s][capacity + 1] holds the total.
void drawHistoryTable(Page page, const int (&count)[4], const int (&list)[4][kHistoryRows]);

// ---- The home page ----

// The title, the introduction, the shape pictures and the tune panel with tune tuneIndex lit.
void drawHomePage(Page page, const std::string& intro, int tuneIndex);
// One tune button's inside, between the grid lines, in fill, and its number over it: as a
// click on the panel lights a tune or puts a lit one out.
void drawTuneButton(Page page, int tuneIndex, const Brush& fill);

} // namespace tess
