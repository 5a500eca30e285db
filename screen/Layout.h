// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The layout of both pages: every rectangle and point the game draws in and hit-tests against,
// computed from the client area alone at every paint. The arithmetic is pure, so every figure
// can be checked without fonts; the layout pass measures the texts it needs with this paint's
// fonts and hands the widths to it.
#pragma once
#include "screen/Tools.h"
#include "screen/canvas/Canvas.h"
#include "screen/canvas/Geometry.h"

namespace tess {

constexpr int kHistoryRows = 52; // cells per history column: head, up to 50 scores, total
constexpr int kMaxHistoryCapacity = 50;

// Everything the layout pass computes from the client area. Per-shape arrays are indexed
// directly by vertex count (4, 6, 8, 10); vertex arrays by [vertexCount][vertex 1..n].
struct Layout {
    Rect clientRect;
    int unit = 0;
    Size letterSize;
    Rect vertexCircle[11][11];
    Point vertexCentre[11][11];
    Point outsidePoint[11];
    Rect messageRect[11];
    Rect swatchRect[11];
    Rect tuneBox[11];
    Rect frameRect[11];
    Rect linesRect, maxLinesRect, piecesRect, maxPiecesRect, scoreRect;
    Rect explanationRect, historyRect;
    Rect historyCell[4][kHistoryRows];
    // Rows that fit, the heads' row 0 included (before the first layout, that row alone).
    int historyRowsFitted = 1;
    Rect titleRect, introRect;
    Rect shapeButton[4];
    Size pictureSize{80, 94};  // the shape pictures' size in pixels of this screen
    double pictureScale = 1.0; // the pixel ratio the shape pictures are drawn for
    Rect tuneTitleRect;
    Rect tuneButton[20];
    Rect tunePanelRect, tunePanelOutline;

    // Scores each column of the history shows: the rows that fit but the heads' row (none
    // before the first layout).
    int historyCapacity() const { return historyRowsFitted > 1 ? historyRowsFitted - 1 : 0; }

    friend bool operator==(const Layout&, const Layout&) = default;
};

// Widths in pixels of the texts the counters strip is sized for: the labels in normalFont,
// the widest numbers in largeBoldFont.
struct CounterWidths {
    int lines = 0;       // "# of lines:  "
    int twoDigits = 0;   // "22"
    int outOf = 0;       // "out of:  "
    int pieces = 0;      // "# of pieces:  "
    int threeDigits = 0; // "222"
    int score = 0;       // "Score:  "
    int hundred = 0;     // "100"
};

// The layout unit of a client area of height h: (h - 10) / 59, never below 1, so that a
// window lower than 69 pixels still gets a (cramped) layout instead of collapsing to zero.
int layoutUnit(int clientHeight);

// The whole layout for clientRect (left = top = 0). letterSize is the extent of "H" in
// smallFont; its height is the row height of the tune panel and the score history. A row
// height below 1 counts as 1, and the history never holds more rows than its cells.
// pixelRatio sizes what the game gives in fixed pixels: the tune panel's outline lies one thin
// pen's width, scaledPixels(1), outside the panel, and the shape buttons are the pictures'
// size, scaledPixels(80) by scaledPixels(94), where that fits their room: from 13 units above
// the bottom down to the tune panel's bottom, and right of the tune panel with a unit to spare
// on either side. Where it does not fit, the pictures are the largest that do (pictureScale
// is the ratio they are drawn for), but never smaller than 80 by 94, their size on a screen
// that does not scale: there the layout is the same at every pixel ratio.
Layout computeLayout(const Rect& clientRect, const CounterWidths& widths, Size letterSize,
                     double pixelRatio = 1.0);

// The layout pass of a paint on dc for the client area clientRect: makes this paint's four
// fonts in tools for the area's layout unit, measures the counters' texts and the row height
// with them, lays both pages out for the tools' pixel ratio, and gives tools the shape
// pictures of the layout's size. Leaves dc with black text and largeBoldFont selected, as the
// painters expect.
Layout layOutPage(DrawingContext& dc, DrawingTools& tools, const Rect& clientRect);

} // namespace tess
