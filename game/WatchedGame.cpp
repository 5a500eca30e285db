// The watched perfect game: the solver's path played on the player's view, one step at a time,
// through the same rules as a player's clicks and keys.
#include "game/WatchedGame.h"

#include "game/CMekkView.h"

namespace tess {

namespace {

// The colour that marks the open space round the shape on the copy taken at End: no piece,
// line or circle of the game is drawn in it.
constexpr Colour kOutsideMark(1, 2, 3);

} // namespace

WatchedGame::WatchedGame(CMekkView& view) : view_(view) {}

WatchedGame::~WatchedGame() = default;

int WatchedGame::start(int vertexCount) {
    stage_ = Stage::Idle;
    outside_.reset();
    if (!view_.screen()) return kEnded;
    path_ = findPerfectPath(vertexCount);
    if (path_.lines <= 0) return kEnded;

    // A new game of the shape whose start vertex is the path's first: no random draw.
    view_.startShapeFrom(vertexCount, path_.vertices.front());

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
    outside_.reset();
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

    // Every line is drawn: End puts the frame round the shape.
    view_.beginColouring();
    if (view_.gamePhase != kColouring) {
        stage_ = Stage::Idle;
        return kEnded;
    }
    // The open space round the shape, found by a fill from the probe point on a copy of the
    // page as End left it. Every other white pixel inside the frame lies in a closed piece.
    outside_ = std::make_unique<Canvas>(*view_.screen());
    DrawingContext dc(*outside_);
    dc.selectBrush(Brush{kOutsideMark});
    const Point probe = view_.layout.outsidePoint[path_.vertexCount];
    dc.floodFill(probe.x, probe.y, kBlack);
    const Rect& frame = view_.layout.frameRect[path_.vertexCount];
    scanX_ = frame.left;
    scanY_ = frame.top;
    stage_ = Stage::Colouring;
    return kFrameBeat;
}

int WatchedGame::colourNextPiece() {
    // The next white pixel inside the frame, its edges included, row by row: the first pixel
    // of a piece not coloured yet, since each piece coloured turns all its pixels.
    const Canvas& screen = *view_.screen();
    const Rect& frame = view_.layout.frameRect[path_.vertexCount];
    for (; scanY_ <= frame.bottom; ++scanY_, scanX_ = frame.left) {
        for (; scanX_ <= frame.right; ++scanX_) {
            if (screen.pixel(scanX_, scanY_) != kWhite ||
                outside_->pixel(scanX_, scanY_) == kOutsideMark)
                continue;
            const int before = view_.pieceCount;
            view_.colourPiece(scanX_, scanY_);
            if (view_.gamePhase != kColouring) {
                // The fill escaped after all: the game ended aborted, as a player's would.
                stage_ = Stage::Idle;
                return kEnded;
            }
            // A piece refused (the record of pieces is full) ends the colouring.
            if (view_.pieceCount == before) return score();
            ++scanX_;
            return kPieceBeat;
        }
    }
    return score();
}

int WatchedGame::score() {
    // End shows the score page; the score is shown but kept out of the history.
    view_.scoreToHistory = false;
    view_.scoreGame();
    view_.scoreToHistory = true;
    stage_ = Stage::Idle;
    outside_.reset();
    return kEnded;
}

void WatchedGame::stop() {
    if (!playing()) return;
    stage_ = Stage::Idle;
    outside_.reset();
    // The home page, as Home shows it after a game: the next game's colours start afresh.
    view_.returnHome();
}

} // namespace tess
