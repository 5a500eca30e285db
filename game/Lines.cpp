// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The line-drawing phase: a click on a vertex draws the line to it from the current vertex,
// unless the line was drawn before, in either direction.
#include "game/CMekkView.h"
#include "sound/SoundBank.h"

namespace tess {

void CMekkView::addLine(int x, int y) {
    // The first vertex whose square holds the click, borders excluded. The whole square
    // counts, corners outside the drawn circle included.
    int hit = 0;
    for (int i = 1; i <= vertexCount; ++i) {
        if (layout.vertexCircle[vertexCount][i].strictlyContains(x, y)) {
            hit = i;
            break;
        }
    }
    if (hit == 0) return;

    if (hit == path[pathLength]) {
        playSound(kErrorSound, false);
        return;
    }

    // A line is the pair of its ends, whichever way it was drawn; going straight back along
    // the previous line repeats it too.
    const int a = path[pathLength];
    const int b = hit;
    for (int j = 1; j < pathLength; ++j) {
        if ((path[j] == a && path[j + 1] == b) || (path[j] == b && path[j + 1] == a)) {
            playSound(kErrorSound, false);
            return;
        }
    }
    ++pathLength;
    path[pathLength] = hit;

    DrawingContext dc = clientDC();
    const Page page = pageOn(dc);
    drawBoard(page, vertexCount, path, pathLength);
    drawLinesCounter(page);
}

} // namespace tess
