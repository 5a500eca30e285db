// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// Plays the game through the view's own entries: a view over a fake desktop, painted once,
// with helpers to start a game from a chosen vertex, click vertices and pieces, press keys,
// and rebuild the page from the state on a canvas of its own.
#pragma once
#include "game/CMekkView.h"
#include "input/KeyCodes.h"
#include "sound/SoundBank.h"
#include "support/FakePlatform.h"

#include <algorithm>
#include <initializer_list>

namespace tess::test {

struct GameDriver {
    fake::FakePlatform platform;
    CMekkView view{platform};

    explicit GameDriver(Size client = {1016, 700}, double pixelRatio = 1.0)
        : platform(client, pixelRatio) {
        view.paint();
    }

    // A game of the shape from startVertex, through the page flow, as a watched game starts.
    void startGame(int vertexCount, int startVertex) {
        view.startShapeFrom(vertexCount, startVertex);
    }

    const Canvas& screen() const { return *view.screen(); }
    Point centre(int vertex) const { return view.layout.vertexCentre[view.vertexCount][vertex]; }
    const Rect& circle(int vertex) const {
        return view.layout.vertexCircle[view.vertexCount][vertex];
    }
    const Rect& frame() const { return view.layout.frameRect[view.vertexCount]; }
    const Rect& tuneBox() const { return view.layout.tuneBox[view.vertexCount]; }

    void click(int x, int y) { view.OnLButtonDown(x, y); }
    void click(Point p) { view.OnLButtonDown(p.x, p.y); }
    void clickVertex(int vertex) { click(centre(vertex)); }
    void drawPath(std::initializer_list<int> vertices) {
        for (int v : vertices)
            clickVertex(v);
    }
    void end() { view.OnKeyDown(vk::End); }

    // The centroid of three points: a point well inside the triangle they make.
    Point inside(Point a, Point b, Point c) const {
        return {(a.x + b.x + c.x) / 3, (a.y + b.y + c.y) / 3};
    }

    // The page as a paint rebuilds it from the state alone, on a canvas of its own.
    Canvas repaint() {
        Canvas fresh(screen().width(), screen().height());
        fresh.clear(Colour(1, 2, 3)); // whatever the window showed before
        DrawingContext dc(fresh);
        view.OnDraw(dc);
        return fresh;
    }

    // Closed pieces left uncoloured.
    int uncolouredPieces() const { return int(view.uncolouredPieces().size()); }
    // Clicks inside every closed piece, as a player colours them one by one.
    void colourEveryPiece() {
        for (Point piece : view.uncolouredPieces())
            click(piece);
    }

    int errorSounds() const {
        return int(std::count_if(platform.sounds.begin(), platform.sounds.end(),
                                 [](const fake::PlayedSound& s) {
                                     return s.resource == kErrorSound && !s.synchronous;
                                 }));
    }
};

} // namespace tess::test
