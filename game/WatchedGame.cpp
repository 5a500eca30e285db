// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The watched perfect game: the solver's path played on the player's view, one step at a time,
// through the same rules as a player's clicks and keys.
#include "game/WatchedGame.h"

#include "game/CMekkView.h"

namespace tess {

WatchedGame::WatchedGame(CMekkView& view) : view_(view) {}

int WatchedGame::start(int vertexCount) {
    stage_ = Stage::Idle;
    if (!view_.screen()) return kEnded;
    path_ = findPerfectPath(vertexCount);
    if (path_.lines <= 0) return kEnded;

    // A new game of the shape whose start vertex is the path's first: no random draw.
    view_.startShapeFrom(vertexCount, path_.vertices.front(), true);

    nextVertex_ = 1;
    stage_ = Stage::Lines;
    return kStartBeat;
}

int WatchedGame::step() {
    if (stage_ == Stage::Lines && viewFollows(kDrawing)) return drawNextLine();
    if (stage_ == Stage::Colouring && viewFollows(kColouring)) return colourNextPiece();
    // Nothing playing, or the view has left the watched game: it is over, and nothing of
    // what the view shows now is touched.
    stage_ = Stage::Idle;
    return kEnded;
}

bool WatchedGame::viewFollows(int phase) const {
    return view_.currentPage == kGamePage && view_.vertexCount == path_.vertexCount &&
           view_.gamePhase == phase;
}

int WatchedGame::drawNextLine() {
    if (nextVertex_ < path_.vertices.size()) {
        const Point c = view_.layout.vertexCentre[path_.vertexCount][path_.vertices[nextVertex_]];
        ++nextVertex_;
        view_.addLine(c.x, c.y);
        return kLineBeat;
    }

    // Every line is drawn: End puts the frame round the shape, and colouring begins (the view
    // has been painted, or the game would not have started).
    view_.beginColouring();
    // The closed pieces as End left them, one click each.
    pieces_ = view_.uncolouredPieces();
    nextPiece_ = 0;
    stage_ = Stage::Colouring;
    return kFrameBeat;
}

int WatchedGame::colourNextPiece() {
    if (nextPiece_ == pieces_.size()) return score();
    const Point piece = pieces_[nextPiece_++];
    const int before = view_.pieceCount;
    view_.colourPiece(piece.x, piece.y);
    if (view_.gamePhase != kColouring) {
        // The fill escaped after all: the game ended aborted, as a player's would.
        stage_ = Stage::Idle;
        return kEnded;
    }
    // A piece refused (the record of pieces is full) ends the colouring.
    if (view_.pieceCount == before) return score();
    return kPieceBeat;
}

int WatchedGame::score() {
    // End shows the score page; the score of a watched game is kept out of the history.
    view_.scoreGame();
    stage_ = Stage::Idle;
    return kEnded;
}

void WatchedGame::stop() {
    if (!playing()) return;
    stage_ = Stage::Idle;
    // The home page, as Home shows it after a game: the next game's colours start afresh.
    view_.returnHome();
}

} // namespace tess
