// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The drawing tools of the game's pages: pens, solid brushes, the 81 piece colours and their
// brushes, the four fonts of the current paint and the four shape pictures. Pens and pictures
// are made for the screen's pixel ratio, so that a high-density screen gets them as wide and
// as large as a screen that does not scale shows them.
#pragma once
#include "screen/canvas/Canvas.h"
#include "screen/canvas/Font.h"
#include "screen/canvas/Geometry.h"

#include <span>

namespace tess {

// A size the game gives in fixed pixels (a pen's width, a picture's side, a margin) on a
// screen of the given pixel ratio: pixels x ratio rounded to the nearest whole pixel, halves
// away from zero, and never below 1. Ratios below 1, and ratios that are no number, count as 1;
// ratios above 8 as 8. At ratio 1 every size is exactly the one given.
int scaledPixels(int pixels, double ratio);
// The ratio as scaledPixels counts it: clamped to 1..8.
double usableRatio(double ratio);

// The shape pictures' size at ratio 1.
constexpr Size kPictureSize{80, 94};

constexpr int kPieceColours = 81;     // colour 0, then the cycle of colours 1 to 80
constexpr int kPieceBrushSlots = 102; // slots 81 to 101 never hold a brush

struct DrawingTools {
    // Pens and pictures for ratio 1, the solid brushes and the piece colours. No piece brush
    // exists until the first paint fits them to its device, and no font until a paint makes
    // them for its layout unit.
    DrawingTools();

    // Pens for a screen of this pixel ratio: widths 1, 2 and 4 become r, 2r and 4r, each
    // rounded to whole pixels (scaledPixels). The pictures are sized by the layout pass, which
    // knows their room: r x 80 by r x 94 where that fits (Layout.h).
    void applyPixelRatio(double ratio);
    // The one-time fitting of the piece brushes to the device dc paints on: each piece colour
    // as the device shows it. Later calls change nothing.
    void fitPieceColours(const DrawingContext& dc);

    // Device pixels per desktop pixel that pens and pictures are made for (1 until the first
    // paint reads the screen's).
    double pixelRatio = 1.0;
    // The Square, Hexagon, Octagon and Decagon pictures, shared by every view of the same
    // pixel ratio: drawn once for the program (screen/Pictures.h), never copied.
    std::span<const Canvas> shapePicture;
    Pen thinPen, mediumPen, thickPen, redPen;
    Brush redBrush, lavenderBrush, whiteBrush, pinkBrush;
    Brush pieceBrush[kPieceBrushSlots];
    Font largeBoldFont, normalFont, smallFont, boldFont;
    Colour piecePalette[kPieceColours];
    Colour nearestColour[kPieceColours];
    int pieceBrushesMade = 0;
};

} // namespace tess
