// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The score history: the scores of this run per shape, latest at the bottom of each column,
// with a total under each column.
#include "game/CMekkView.h"

#include <algorithm>

namespace tess {

void CMekkView::appendScoreToHistory() {
    const int capacity = std::clamp(layout.historyCapacity(), 0, kMaxHistoryCapacity);
    const int shape = std::clamp((vertexCount - 4) / 2, 0, 3);
    int* column = historyList[shape];
    ++historyCount[shape];
    // A full column drops its oldest score: every score moves up one row.
    while (historyCount[shape] > capacity) {
        for (int k = 0; k < capacity; ++k)
            column[k] = column[k + 1];
        --historyCount[shape];
    }
    column[historyCount[shape]] = score;

    // Each column's total, below its last row, is the sum of the scores it shows.
    for (int s = 0; s < 4; ++s) {
        int total = 0;
        for (int k = 1; k <= std::min(historyCount[s], capacity); ++k)
            total += historyList[s][k];
        historyList[s][capacity + 1] = total;
    }
}

} // namespace tess
