// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The click handler: a left button press goes to the home page's pictures and tune panel, to
// the vertices while lines are drawn, or to the pieces while they are coloured. Every test is
// strict: a click on a border hits nothing.
#include "game/CMekkView.h"

namespace tess {

namespace {

// The shape pictures in the order they are tested, with the vertex count each starts.
struct ShapeHit {
    int button;
    int vertices;
};
constexpr ShapeHit kShapeOrder[] = {{1, 6}, {2, 8}, {3, 10}, {0, 4}};

} // namespace

void CMekkView::OnLButtonDown(int x, int y) {
    if (!screen()) return;
    if (currentPage == kHomePage) {
        homeClick(x, y);
    } else if (gamePhase == kDrawing) {
        addLine(x, y);
    } else if (gamePhase == kColouring) {
        colourPiece(x, y);
    }
    // In Finished a click does nothing.
    checkState("a click");
}

void CMekkView::homeClick(int x, int y) {
    if (!screen()) return;
    const Layout& l = layout;

    for (const ShapeHit& shape : kShapeOrder) {
        if (l.shapeButton[shape.button].strictlyContains(x, y)) {
            startShape(shape.vertices);
            return;
        }
    }

    const Rect& outline = l.tunePanelOutline;
    if (!(outline.left < x && x < outline.right && l.tuneButton[0].top < y && y < outline.bottom))
        return;
    int button = -1; // a grid line inside the panel
    for (int i = 0; i < 20 && button < 0; ++i)
        if (l.tuneButton[i].strictlyContains(x, y)) button = i;
    tunePanelClick(button);
}

} // namespace tess
