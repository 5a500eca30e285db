// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The rules the game's state keeps at every moment between two entries. A broken one is a
// fault of the game itself, never of the player's input.
#include "game/CMekkView.h"
#include "game/ShapeTable.h"

#include <string>

namespace tess {

std::string CMekkView::brokenInvariant() const {
    if (currentPage != kHomePage && currentPage != kGamePage) return "page";
    if (gamePhase < kDrawing || gamePhase > kFinished) return "phase";
    if (currentPage == kHomePage && gamePhase != kDrawing) return "phase on home page";
    if (gameAborted && gamePhase != kFinished) return "an aborted game that is not finished";
    const int n = vertexCount;
    if (n != 4 && n != 6 && n != 8 && n != 10) return "vertex count";
    if (pathLength < 1 || pathLength > 42 || pathLength - 1 > maxLines(n))
        return "path length " + std::to_string(pathLength);
    // The path is a walk over the shape's vertices on the game page; the home page keeps
    // only the stale path of the last game (or none at all).
    bool drawn[11][11] = {};
    for (int k = 1; currentPage == kGamePage && k <= pathLength; ++k) {
        if (path[k] < 1 || path[k] > n) return "vertex on path";
        if (k > 1) {
            const int a = path[k - 1], b = path[k];
            if (a == b) return "a line from a vertex to itself";
            if (drawn[a][b]) return "line twice";
            drawn[a][b] = drawn[b][a] = true;
        }
    }
    if (colourIndex < 0 || colourIndex > 80) return "colour index";
    if (tuneIndex < 0 || tuneIndex >= kTuneCount) return "tune";
    if (gamePhase > kDrawing) {
        if (pieceCount < 0 || pieceCount > kMaxPieces) return "piece count";
        for (int k = 1; k <= pieceCount; ++k)
            if (pieceColour[k] < 0 || pieceColour[k] > 80) return "piece colour";
    }
    const int capacity = layout.historyCapacity();
    if (capacity > kMaxHistoryCapacity) return "history capacity";
    for (int s = 0; s < 4; ++s)
        if (historyCount[s] < 0 || historyCount[s] > capacity) return "history count";
    return {};
}

} // namespace tess
