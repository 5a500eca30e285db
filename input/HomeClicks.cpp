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

// A tune button without the grid lines round it, which are drawn with a pen of width `pen`
// centred on each row's top edge and on the line between the two columns; the panel's outline
// lies outside the panel. With a 1-pixel pen: the button without its top and left edges.
Rect buttonInterior(const Rect& r, const Rect& panel, int pen) {
    const int before = pen / 2;         // a centred pen's rows above (columns left of) its line
    const int after = pen - 1 - before; // and below (right of) it
    return {r.left + after + 1, r.top + after + 1,
            r.right == panel.right ? r.right : r.right - before,
            r.bottom == panel.bottom ? r.bottom : r.bottom - before};
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
    const int pen = thinPen.width;
    dc.fillRect(buttonInterior(l.tuneButton[tuneIndex], l.tunePanelRect, pen), whiteBrush);
    std::snprintf(textBuffer, sizeof textBuffer, "%i", tuneIndex + 1);
    dc.drawTextFitted(textBuffer, l.tuneButton[tuneIndex], TextForm::SingleCentre);

    for (int i = 0; i < 20; ++i) {
        if (!l.tuneButton[i].strictlyContains(x, y)) continue;
        tuneIndex = i;
        // A click highlights in steps of four colours; the full paint uses steps of one.
        dc.fillRect(buttonInterior(l.tuneButton[i], l.tunePanelRect, pen), pieceBrush[80 - 4 * i]);
        std::snprintf(textBuffer, sizeof textBuffer, "%i", i + 1);
        dc.drawTextFitted(textBuffer, l.tuneButton[i], TextForm::SingleCentre);
        playTuneWhole();
        return;
    }
    // A click on a grid line inside the panel: the tune stays selected, its button white.
}

} // namespace tess
