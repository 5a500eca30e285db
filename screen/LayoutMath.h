// The arithmetic of the layout pass: every rectangle and point of both pages from the client
// area, the measured widths of the counters' texts and the row height. Pure, so every figure
// can be checked without fonts.
#pragma once
#include "game/CMekkView.h"

namespace tess {

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

// A size the game gives in fixed pixels (a pen's width, a picture's side, a margin) on a
// screen of the given pixel ratio: pixels x ratio rounded to the nearest whole pixel, halves
// away from zero, and never below 1. Ratios below 1, and ratios that are no number, count as 1;
// ratios above 8 as 8. At ratio 1 every size is exactly the one given.
int scaledPixels(int pixels, double ratio);
// The ratio as scaledPixels counts it: clamped to 1..8.
double usableRatio(double ratio);

// The shape pictures' size at ratio 1.
constexpr Size kPictureSize{80, 94};

// The layout unit of a client area of height h: (h - 10) / 59, never below 1, so that a
// window lower than 69 pixels still gets a (cramped) layout instead of collapsing to zero.
int layoutUnit(int clientHeight);

// The whole layout for clientRect (left = top = 0). letterSize is the extent of "H" in
// smallFont; its height is the row height of the tune panel and the score history. A row
// height below 1 counts as 1, and the history never holds more rows than its cells.
// firstClientRect of the result is clientRect; the layout pass keeps the first paint's.
// pixelRatio sizes what the game gives in fixed pixels: the shape buttons are the pictures'
// size, scaledPixels(80) by scaledPixels(94), and the tune panel's outline lies one thin pen's
// width, scaledPixels(1), outside the panel.
Layout computeLayout(const Rect& clientRect, const CounterWidths& widths, Size letterSize,
                     double pixelRatio = 1.0);

} // namespace tess
