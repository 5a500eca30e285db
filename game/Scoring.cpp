// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The score of a finished game and the note that explains it.
#include "game/CMekkView.h"
#include "game/ShapeTable.h"

#include <cstdint>

namespace tess {

int CMekkView::computeScore() const {
    const std::int32_t lines = pathLength - 1;
    const std::int32_t pieces = pieceCount;
    const std::int32_t most = maxLines(vertexCount) * maxPieces(vertexCount);
    if (most <= 0) return 0;
    const std::int32_t base = (100 * lines * pieces + most / 2) / most;
    return base * difficultyFactor(vertexCount);
}

std::string CMekkView::scoreNoteText() const {
    return std::string("The score shown above has been multiplied by ") + factorText[vertexCount] +
           " which is the difficulty factor for the " + shapeNameText[vertexCount] +
           " \nTherefore, the maximum score for this shape is " + maxScoreText[vertexCount];
}

} // namespace tess
