// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The pens, solid brushes and piece colours, the one-time fitting of the piece brushes to the
// device being painted, and the sizes that follow the screen's pixel ratio.
#include "screen/Tools.h"

#include "screen/Pictures.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace tess {

namespace {

// The 81 piece colours. Colours 1 to 80 are the colouring cycle; colour 0 colours only the
// first piece after the view is made or after Home.
constexpr Colour kPalette[kPieceColours] = {
    {240, 240, 100}, {240, 160, 100}, {240, 80, 100},  {240, 0, 100},   {240, 100, 240},
    {240, 100, 160}, {240, 100, 80},  {240, 100, 0},   {220, 220, 100}, {255, 100, 170},
    {80, 240, 100},  {0, 240, 100},   {100, 240, 240}, {205, 105, 205}, {100, 240, 80},
    {100, 240, 0},   {100, 220, 220}, {100, 160, 240}, {100, 80, 240},  {100, 0, 240},
    {220, 100, 220}, {160, 100, 240}, {80, 100, 240},  {0, 100, 240},   {144, 144, 240},
    {144, 144, 170}, {144, 144, 80},  {144, 144, 0},   {144, 240, 144}, {144, 170, 144},
    {144, 80, 144},  {144, 0, 144},   {240, 144, 144}, {170, 144, 144}, {80, 144, 144},
    {0, 144, 144},   {255, 200, 100}, {100, 255, 200}, {200, 100, 255}, {255, 100, 200},
    {200, 255, 100}, {100, 200, 255}, {255, 180, 180}, {180, 255, 180}, {255, 170, 100},
    {100, 255, 170}, {170, 100, 255}, {160, 240, 100}, {170, 255, 100}, {100, 170, 255},
    {255, 150, 150}, {150, 255, 150}, {205, 205, 105}, {205, 165, 105}, {205, 90, 105},
    {205, 10, 105},  {100, 240, 160}, {205, 105, 165}, {205, 105, 90},  {205, 105, 10},
    {220, 220, 105}, {165, 205, 105}, {90, 205, 105},  {10, 205, 105},  {255, 255, 192},
    {255, 215, 192}, {255, 185, 192}, {255, 155, 192}, {255, 192, 255}, {255, 192, 215},
    {255, 192, 185}, {255, 192, 155}, {192, 255, 255}, {192, 215, 255}, {192, 185, 255},
    {192, 155, 255}, {245, 255, 172}, {215, 255, 192}, {185, 255, 192}, {155, 255, 192},
    {125, 225, 182},
};

} // namespace

DrawingTools::DrawingTools() {
    // No piece brush exists until the first paint that needs one fits them to its device.
    std::fill(std::begin(pieceBrush), std::end(pieceBrush), Brush{kBlack, false});
    std::copy(std::begin(kPalette), std::end(kPalette), piecePalette);
    applyPixelRatio(1.0);

    redBrush = Brush{Colour(255, 72, 72), true};
    lavenderBrush = Brush{Colour(220, 220, 240), true};
    whiteBrush = Brush{kWhite, true};
    pinkBrush = Brush{Colour(255, 240, 240), true};
}

double usableRatio(double ratio) {
    if (!(ratio >= 1.0)) return 1.0; // below 1, or no number at all
    return std::min(ratio, 8.0);
}

int scaledPixels(int pixels, double ratio) {
    return std::max(1, int(std::lround(pixels * usableRatio(ratio))));
}

void DrawingTools::applyPixelRatio(double ratio) {
    pixelRatio = usableRatio(ratio);
    thinPen = Pen{kBlack, scaledPixels(1, pixelRatio)};
    mediumPen = Pen{kBlack, scaledPixels(2, pixelRatio)};
    thickPen = Pen{kBlack, scaledPixels(4, pixelRatio)};
    redPen = Pen{Colour(255, 0, 0), scaledPixels(1, pixelRatio)};
    // The pictures of a screen that does not scale until a layout pass finds the room for
    // larger ones.
    if (shapePicture.empty()) shapePicture = shapePictures(1.0);
}

void DrawingTools::fitPieceColours(const DrawingContext& dc) {
    // Fitted once, to the first device that needs them, and kept for the life of the view.
    if (pieceBrushesMade == 1) return;
    pieceBrushesMade = 1;
    for (int c = 0; c < kPieceColours; ++c) {
        nearestColour[c] = dc.getNearestColour(piecePalette[c]);
        pieceBrush[c] = Brush{nearestColour[c], true};
    }
}

} // namespace tess
