// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The four shape pictures of the home page.
#pragma once
#include "screen/canvas/Canvas.h"

#include <array>

namespace tess {

// The Square, Hexagon, Octagon and Decagon pictures for a screen of this pixel ratio, each
// scaledPixels(80) by scaledPixels(94): every shape as a finished game (black outline and lines,
// brightly coloured pieces, the vertex count written in several of them) with its name beneath
// in capitals of different colours. Each ratio's pictures are drawn once for the program.
const std::array<Canvas, 4>& shapePictures(double ratio);

} // namespace tess
