// The score history: the scores of this run per shape, latest at the bottom of each
// column, with a total under each column.
#include "game/CMekkView.h"
#include "screen/LayoutMath.h"

#include <cstdio>

namespace tess {

namespace {

constexpr const char* kColumnHead[4] = {"Square", "Hexagon", "Octagon", "Decagon"};

} // namespace

void CMekkView::drawHistory(DrawingContext& dc, bool append) {
    int capacity = layout.historyCapacity;
    if (capacity < 0) capacity = 0;
    if (capacity > kMaxHistoryCapacity) capacity = kMaxHistoryCapacity;

    if (append) {
        int shape = (vertexCount - 4) / 2;
        if (shape < 0) shape = 0;
        if (shape > 3) shape = 3;
        int* column = historyList[shape];
        ++historyCount[shape];
        // A full column drops its oldest score: every score moves up one row.
        while (historyCount[shape] > capacity) {
            for (int k = 0; k < capacity; ++k)
                column[k] = column[k + 1];
            --historyCount[shape];
        }
        column[historyCount[shape]] = score;
    }

    dc.setTransparentBackground();
    dc.selectFont(smallFont);
    dc.selectPen(thinPen);
    dc.setTextColour(kBlack);
    dc.fillRect(layout.historyRect, whiteBrush);

    const int totalRow = capacity + 1;
    for (int s = 0; s < 4; ++s) {
        int total = 0;
        const int count = historyCount[s] < capacity ? historyCount[s] : capacity;
        for (int k = 1; k <= count; ++k) {
            std::snprintf(textBuffer, sizeof textBuffer, "%i", historyList[s][k]);
            dc.drawTextFitted(textBuffer, layout.historyCell[s][k], TextForm::SingleRight);
            total += historyList[s][k];
        }
        historyList[s][totalRow] = total;
        std::snprintf(textBuffer, sizeof textBuffer, "%i", total);
        dc.drawTextFitted(textBuffer, layout.historyCell[s][totalRow], TextForm::SingleRight);
    }

    // "  Tot:" stands at the left of the Square total's cell. A large total on a narrow
    // screen leaves it less room than the cell: it is fitted into what the total leaves free,
    // with a blank column between them, so that the two never run into each other.
    const Rect& totalCell = layout.historyCell[0][totalRow];
    std::snprintf(textBuffer, sizeof textBuffer, "%i", historyList[0][totalRow]);
    const Font totalFont = dc.fittingFont(textBuffer, totalCell, TextForm::SingleRight);
    const int totalInkLeft =
        totalCell.right - totalFont.extent(textBuffer).cx + totalFont.inkBox(textBuffer).left;
    dc.drawTextFitted("  Tot:", {totalCell.left, totalCell.top, totalInkLeft - 1, totalCell.bottom},
                      TextForm::SingleLeft);

    for (int s = 0; s < 4; ++s) {
        const Rect& head = layout.historyCell[s][0];
        dc.drawTextFitted(kColumnHead[s], head, TextForm::SingleRight);
        // A rule between the last score row and the totals, 6 pixels (of a screen that does
        // not scale) in from the left.
        const int y = layout.historyCell[s][capacity].bottom;
        dc.moveTo(head.left + scaledPixels(6, pixelRatio), y);
        dc.lineTo(head.right, y);
    }
}

} // namespace tess
