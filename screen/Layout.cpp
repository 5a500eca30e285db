// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The layout of both pages from the client area, and the layout pass that begins every paint:
// the fonts of this paint, the measured counters, and every rectangle and point.
#include "screen/Layout.h"

#include "screen/Pictures.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tess {

namespace {

// Vertex circles' top-left corners in units of u, by shape. The Decagon's slanted vertices
// use a = 29u/2 and b = 25u/2 and are filled in separately.
struct GridCorner {
    int x;
    int y;
};
constexpr GridCorner kSquareCorners[] = {{5, 9}, {43, 9}, {5, 47}, {43, 47}};
constexpr GridCorner kHexagonCorners[] = {{14, 8}, {34, 8}, {44, 27}, {34, 46}, {14, 46}, {4, 27}};
constexpr GridCorner kOctagonCorners[] = {{16, 8},  {33, 8},  {45, 20}, {45, 37},
                                          {33, 49}, {16, 49}, {4, 37},  {4, 20}};

void placeCircle(Layout& l, int shape, int vertex, int x, int y, int d) {
    Rect& circle = l.vertexCircle[shape][vertex];
    circle = {x, y, x + d, y + d};
    l.vertexCentre[shape][vertex] = {(circle.left + circle.right) / 2,
                                     (circle.top + circle.bottom) / 2};
}

void placeVertices(Layout& l, int u, int d) {
    for (const auto& [n, corners] : {std::pair{4, kSquareCorners}, std::pair{6, kHexagonCorners},
                                     std::pair{8, kOctagonCorners}})
        for (int v = 0; v < n; ++v)
            placeCircle(l, n, v + 1, corners[v].x * u, corners[v].y * u, d);

    const int a = 29 * u / 2;
    const int b = 25 * u / 2;
    const Point decagon[10] = {{4 * u + a, 8 * u},  {46 * u - a, 8 * u},  {42 * u, 28 * u - b},
                               {46 * u, 28 * u},    {42 * u, 53 * u - b}, {46 * u - a, 48 * u},
                               {4 * u + a, 48 * u}, {8 * u, 53 * u - b},  {4 * u, 28 * u},
                               {8 * u, 28 * u - b}};
    for (int v = 0; v < 10; ++v)
        placeCircle(l, 10, v + 1, decagon[v].x, decagon[v].y, d);
}

// Frame, swatch, tune box and probe point of one shape; the frame's bottom is bottomUnits·u
// + d and the swatch and tune box sit one unit below it, 3u high.
void placeFurniture(Layout& l, int shape, int rightUnits, int bottomUnits, Point outside, int u,
                    int d, int W, int H) {
    l.frameRect[shape] = {3 * u, 7 * u, rightUnits * u + d, bottomUnits * u + d};
    const int top = (bottomUnits + 1) * u + d;
    const int bottom = (bottomUnits + 4) * u + d;
    l.swatchRect[shape] = {3 * u, top, 10 * u, bottom};
    l.tuneBox[shape] = {11 * u, top, 22 * u, bottom};
    l.outsidePoint[shape] = outside;
    l.messageRect[shape] = {3 * u, 51 * u + d, W, H};
}

// The ratio to draw the shape pictures for: the screen's own where its pictures fit, else the
// largest one, a whole pixel of height at a time, whose pictures fit, and 1 where even the
// pictures of a screen that does not scale do not.
template <typename Fits> double pictureScaleFitting(double pixelRatio, Fits fits) {
    const double ratio = usableRatio(pixelRatio);
    if (fits(scaledPixels(kPictureSize.cx, ratio), scaledPixels(kPictureSize.cy, ratio)))
        return ratio;
    for (int ph = scaledPixels(kPictureSize.cy, ratio) - 1; ph > kPictureSize.cy; --ph) {
        const double scale = double(ph) / kPictureSize.cy;
        if (fits(scaledPixels(kPictureSize.cx, scale), ph)) return scale;
    }
    return 1.0;
}

} // namespace

int layoutUnit(int clientHeight) {
    return std::max(1, (clientHeight - 10) / 59);
}

Layout computeLayout(const Rect& clientRect, const CounterWidths& w, Size letterSize,
                     double pixelRatio) {
    Layout l;
    l.clientRect = clientRect;
    l.letterSize = letterSize;
    const int W = clientRect.right;
    const int H = clientRect.bottom;
    const int u = layoutUnit(H);
    const int d = 3 * u / 2;
    const int h = std::max(1, letterSize.cy);
    l.unit = u;

    // Counters strip.
    const int stripTop = u / 2;
    const int stripBottom = 4 * u + u / 2;
    auto counter = [&](int left, int width) {
        return Rect{left, stripTop, left + width, stripBottom};
    };
    l.linesRect = counter(2 * u, w.lines + w.twoDigits);
    l.maxLinesRect = counter(l.linesRect.right + 2 * u, w.outOf + w.twoDigits);
    l.piecesRect = counter(l.maxLinesRect.right + 3 * u, w.pieces + w.threeDigits);
    l.maxPiecesRect = counter(l.piecesRect.right + 2 * u, w.outOf + w.threeDigits);
    l.scoreRect = counter(l.maxPiecesRect.right + 3 * u, w.score + w.hundred);

    placeVertices(l, u, d);

    const Point corner{4 * u, 8 * u};
    placeFurniture(l, 4, 45, 49, corner, u, d, W, H);
    placeFurniture(l, 6, 45, 47, {3 * u + u / 2, 7 * u + u / 2}, u, d, W, H);
    placeFurniture(l, 8, 46, 50, corner, u, d, W, H);
    placeFurniture(l, 10, 47, 49, corner, u, d, W, H);

    // Score explanation and history to the right of the board.
    l.explanationRect = {48 * u + d, 7 * u, W - u, 17 * u};
    l.historyRect = {48 * u + d, 18 * u, W - 4 * u, 49 * u + d};
    const int c = (l.historyRect.right - l.historyRect.left) / 4;
    // Rows that fit, row 0 included; one row more (the totals) is laid out below them. The
    // cells hold rows 0 to kHistoryRows - 1, so at most kHistoryRows - 1 rows may fit.
    l.historyRowsFitted = std::clamp((31 * u + d) / h, 1, kHistoryRows - 1);
    for (int s = 0; s < 4; ++s) {
        const int left = l.historyRect.left + s * c;
        for (int r = 0; r <= l.historyRowsFitted; ++r)
            l.historyCell[s][r] = {left, 18 * u + r * h, left + c, 18 * u + (r + 1) * h};
    }

    // Tune panel at the lower left of the home page: two columns of ten buttons.
    const int t = ((W - 320) / 3 - 6 * u) / 2;
    for (int k = 0; k < 20; ++k) {
        const int left = 3 * u + (k / 10) * t;
        const int top = H - u - (10 - k % 10) * h;
        l.tuneButton[k] = {left, top, left + t, top + h};
    }
    l.tuneTitleRect = {3 * u, H - u - 11 * h, 3 * u + 2 * t, H - u - 10 * h};
    l.tunePanelRect = {3 * u, H - u - 11 * h, 3 * u + 2 * t, H - u};
    // The outline is drawn with the thin pen just outside the panel.
    const int pen = scaledPixels(1, pixelRatio);
    l.tunePanelOutline = {l.tunePanelRect.left - pen, l.tunePanelRect.top - pen,
                          l.tunePanelRect.right + pen, l.tunePanelRect.bottom + pen};

    // Home page texts.
    l.titleRect = {2 * u, 0, W - 2 * u, 8 * u};
    l.introRect = {2 * u, 8 * u, W - 2 * u, H - 13 * u};

    // Shape buttons, the size of the pictures, centred right of the tune panel.
    const int F = l.tunePanelOutline.right;
    const auto groupWidth = [W](int pw) { return 4 * pw + 3 * ((W - 4 * pw) / 9); };
    const auto fits = [&](int pw, int ph) {
        return ph <= 12 * u && groupWidth(pw) <= W - F - 2 * u;
    };
    l.pictureScale = pictureScaleFitting(pixelRatio, fits);
    const int pw = scaledPixels(kPictureSize.cx, l.pictureScale);
    const int ph = scaledPixels(kPictureSize.cy, l.pictureScale);
    l.pictureSize = {pw, ph};
    const int S = (W - 4 * pw) / 9;
    const int G = groupWidth(pw);
    const int x0 = F + (W - F - G) / 2;
    for (int k = 0; k < 4; ++k) {
        const int left = x0 + k * (pw + S);
        l.shapeButton[k] = {left, H - 13 * u, left + pw, H - 13 * u + ph};
    }
    return l;
}

Layout layOutPage(DrawingContext& dc, DrawingTools& tools, const Rect& clientRect) {
    const int u = layoutUnit(clientRect.bottom);

    tools.smallFont = Font::create("Arial", 4 * u / 3);
    const Size letter = tools.smallFont.extent("H");
    tools.normalFont = Font::create("Arial", 3 * u / 2);
    tools.boldFont = Font::create("Arial Bold", 2 * u);
    tools.largeBoldFont = Font::create("Arial Bold", 4 * u);

    CounterWidths widths;
    widths.lines = tools.normalFont.extent("# of lines:  ").cx;
    widths.twoDigits = tools.largeBoldFont.extent("22").cx;
    widths.outOf = tools.normalFont.extent("out of:  ").cx;
    widths.pieces = tools.normalFont.extent("# of pieces:  ").cx;
    widths.threeDigits = tools.largeBoldFont.extent("222").cx;
    widths.score = tools.normalFont.extent("Score:  ").cx;
    widths.hundred = tools.largeBoldFont.extent("100").cx;

    dc.setTextColour(kBlack);
    dc.selectFont(tools.largeBoldFont);
    Layout l = computeLayout(clientRect, widths, letter, tools.pixelRatio);
    tools.shapePicture = shapePictures(l.pictureScale);
    return l;
}

} // namespace tess
