// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The view's creation, its random generator, the canvas it paints on and the check of its
// state after every entry.
#include "game/CMekkView.h"

#include "sound/SoundBank.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace tess {

namespace {

// The opening sentence of the home page, which the F1 instructions leave out.
constexpr const char* kHomeOpening = "Select one of the four shapes below by clicking on it. ";

// The instructions that follow the opening sentence.
constexpr const char* kInstructions =
    "You play by connecting the dots or vertices of the selected shape. Click on "
    "any vertex other than the red one and a line will be drawn between the red vertex and the "
    "one you clicked, which will then become the "
    "new red vertex, also known as your current position. \n"
    "   The objective is to draw as many lines as possible and at the same time cut up the shape "
    "into as many pieces as possible. Warning: "
    "You cannot draw over an existing line. The pieces can have three or more sides but they "
    "must be closed to qualify as such. At the "
    "top of the screen, you will see the number of lines that you have drawn as well as the "
    "maximum that you should strive for. \n"
    "   When you can no longer draw any lines, press the End key. This will put a frame around "
    "the shape. You should now color all the pieces "
    "by clicking inside of them. Each time you color a piece, the count of pieces goes up by "
    "one. This information is to the right of the "
    "count of lines, near the top of the screen. There is also a maximum number of pieces that "
    "you should strive for. If you click outside "
    "of a piece, the game ends with no score. \n   When you are finished coloring the pieces, "
    "press the End key. Your score will now be computed and will appear to the "
    "right of the piece counts, near the top of the screen. The score is calculated as follows: "
    "multiply the two red numbers -- your line "
    "count by your piece count and divide this product by the product of the two green numbers "
    "-- the maximum number of lines by the "
    "maximum number of pieces. The result is rounded to the nearest whole number and expressed "
    "as a percentage. For example, a hexagon "
    "can have 13 lines and 22 pieces. If you get 12 lines and 20 pieces, your score will be: "
    "(12 x 20) / (13 x 22) = .83916. When rounded "
    "and expressed as a percentage, this comes to 84. This is then multiplied by a difficulty "
    "factor, which is 1 for the square, 2 for "
    "the hexagon, 4 for the octagon (8-sided polygon), and 7 for the decagon (10-sided polygon). "
    "In this example, your final score would "
    "be 168. \n   To play again with the same shape, press the Enter key. To select a different "
    "shape, press the Home key. To see these "
    "instructions while you are playing, press the F1 key. ";

constexpr const char* kExplanation =
    "Check your score above. It is the product of your # of lines times your # of pieces (the "
    "red numbers) divided by the product of "
    "the maximum # of lines times the maximum # of pieces (the green numbers), multiplied by 100 "
    "and rounded to the nearest whole "
    "number. This is then multiplied by the difficulty factor: 1 (square), 2 (hexagon), 4 "
    "(octagon), or 7 (decagon). "
    "\nTo play again, press the Enter key. For the Home page, press the Home key.";

} // namespace

CMekkView::CMekkView(Platform& platformIn) : platform(platformIn) {
    explanationText = kExplanation;
    instructionsText = kInstructions;
    homeIntroText = std::string(kHomeOpening) + instructionsText;
    fillNoteResource(noteResource);
    randomState = static_cast<std::uint32_t>(std::time(nullptr));
}

int CMekkView::nextRandom() {
    randomState = randomState * 214013u + 2531011u;
    return static_cast<int>((randomState >> 16) & 0x7FFFu);
}

DrawingContext CMekkView::clientDC() {
    DrawingContext dc(*screen_);
    dc.logTextTo(platform.textLog());
    return dc;
}

void CMekkView::paint() {
    if (!screen_) {
        // The first paint fixes the canvas and the layout for the rest of the run: a later
        // change of the window's client area shows the same canvas scaled, and loses nothing.
        Size size = platform.clientSize();
        screen_ = std::make_unique<Canvas>(size.cx > 0 ? size.cx : 1, size.cy > 0 ? size.cy : 1);
    }
    DrawingContext dc = clientDC();
    OnDraw(dc);
    platform.present();
    checkState("a paint");
}

void CMekkView::checkState([[maybe_unused]] const char* entry) const {
#ifdef TESSARIN_CHECK_STATE
    if (!checkStateAfterEntries) return;
    const std::string broken = brokenInvariant();
    if (broken.empty()) return;
    std::fprintf(stderr, "tessarin: after %s the game's state is broken: %s\n", entry,
                 broken.c_str());
    std::abort();
#endif
}

} // namespace tess
