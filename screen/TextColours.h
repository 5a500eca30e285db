// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// Text colours that carry meaning on the pages.
#pragma once
#include "screen/canvas/Geometry.h"

namespace tess {

constexpr Colour kCountColour{255, 100, 100};   // the player's counts
constexpr Colour kMaximumColour{100, 255, 100}; // the maxima to strive for
constexpr Colour kLabelColour{50, 156, 128};    // the counters' labels
constexpr Colour kScoreColour{80, 130, 220};    // the score
constexpr Colour kNoteColour{192, 30, 192};     // the score note
constexpr Colour kTitleColour{32, 200, 120};    // the home page's title

} // namespace tess
