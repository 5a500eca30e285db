// Clicks on the home page: a shape picture starts a game, a tune button selects a tune and
// plays it whole. Every test is strict: a click on a border hits nothing.
#include "game/CMekkView.h"

#include <cstdio>

namespace tess {

namespace {

// The shape pictures in the order they are tested, with the vertex count each starts.
struct ShapeHit {
    int button;
    int vertices;
};
constexpr ShapeHit kShapeOrder[] = {{1, 6}, {2, 8}, {3, 10}, {0, 4}};

// A tune button without its top and left edges, which belong to the grid.
Rect buttonInterior(const Rect& r) {
    return {r.left + 1, r.top + 1, r.right, r.bottom};
}

} // namespace

void CMekkView::homeClick(int x, int y) {
    if (!screen()) return;
    const Layout& l = layout;

    for (const ShapeHit& shape : kShapeOrder) {
        if (!l.shapeButton[shape.button].strictlyContains(x, y)) continue;
        vertexCount = shape.vertices;
        currentPage = kGamePage;
        path[1] = nextRandom() % vertexCount + 1;
        // The first game after start-up still has startVertexChosen 0, so this paint draws
        // the start vertex once more, and that draw stands.
        DrawingContext dc = clientDC();
        OnDraw(dc);
        return;
    }

    const Rect& outline = l.tunePanelOutline;
    if (!(outline.left < x && x < outline.right && l.tuneButton[0].top < y && y < outline.bottom))
        return;

    DrawingContext dc = clientDC();
    dc.selectFont(smallFont);
    dc.setTextColour(kBlack);

    // Take the highlight off the selected tune, leaving the grid lines.
    dc.fillRect(buttonInterior(l.tuneButton[tuneIndex]), whiteBrush);
    std::snprintf(textBuffer, sizeof textBuffer, "%i", tuneIndex + 1);
    dc.drawText(textBuffer, l.tuneButton[tuneIndex], TextForm::SingleCentre);

    for (int i = 0; i < 20; ++i) {
        if (!l.tuneButton[i].strictlyContains(x, y)) continue;
        tuneIndex = i;
        // A click highlights in steps of four colours; the full paint uses steps of one.
        dc.fillRect(buttonInterior(l.tuneButton[i]), pieceBrush[80 - 4 * i]);
        std::snprintf(textBuffer, sizeof textBuffer, "%i", i + 1);
        dc.drawText(textBuffer, l.tuneButton[i], TextForm::SingleCentre);
        playTuneWhole();
        return;
    }
    // A click on a grid line inside the panel: the tune stays selected, its button white.
}

} // namespace tess
