// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The colouring phase: a click inside a closed piece fills it with the next colour of the
// cycle and plays the tune's next note; a fill that escapes into the space round the shape
// ends the game with no score.
#include "game/CMekkView.h"
#include "sound/SoundBank.h"

namespace tess {

namespace {

constexpr int kLastColour = 80;

} // namespace

void CMekkView::colourPiece(int x, int y) {
    if (!screen()) return;

    if (layout.tuneBox[vertexCount].strictlyContains(x, y)) {
        playTuneWhole();
        return;
    }

    // The frame's own edges count as inside. Once the record is full, a further piece is
    // refused the same way, so the record of pieces can never be overrun.
    const Rect& frame = layout.frameRect[vertexCount];
    if (x < frame.left || x > frame.right || y < frame.top || y > frame.bottom ||
        pieceCount >= kMaxPieces) {
        playSound(kErrorSound, false);
        return;
    }

    DrawingContext dc = clientDC();
    // Lines, circles, the frame and pieces already coloured are not white.
    if (dc.getPixel(x, y) != kWhite) {
        playSound(kErrorSound, false);
        return;
    }

    // The fill is the rule: a piece is whatever it reaches.
    dc.selectBrush(pieceBrush[colourIndex]);
    dc.floodFill(x, y, kBlack);

    // A fill that reaches the probe point has escaped into the space round the shape: the
    // game ends there, with nothing recorded and no score.
    const Point probe = layout.outsidePoint[vertexCount];
    if (dc.getPixel(probe.x, probe.y) != kWhite) {
        abortGame({x, y});
        return;
    }

    const int piecesBefore = pieceCount;
    ++pieceCount;
    pieceSeed[pieceCount - 1] = {x, y};
    pieceColour[pieceCount] = colourIndex;
    colourIndex = colourIndex + 1 > kLastColour ? 1 : colourIndex + 1;

    const Page page = pageOn(dc);
    drawNextColour(page, vertexCount, colourIndex);
    drawPiecesCounter(page);
    drawTuneBox(page, vertexCount, tuneIndex);

    // The piece's note: the tune's next one, starting over after its last (noteIndex).
    playPieceNote(piecesBefore);
}

Canvas CMekkView::openSpace() const {
    if (!screen_) return {};
    Canvas marked = *screen_;
    DrawingContext dc(marked);
    dc.selectBrush(Brush{kOpenSpace});
    const Point probe = layout.outsidePoint[vertexCount];
    dc.floodFill(probe.x, probe.y, kBlack);
    return marked;
}

std::vector<Point> CMekkView::uncolouredPieces() const {
    Canvas marked = openSpace();
    DrawingContext dc(marked);
    // Each piece found is marked too, so that it is found once.
    dc.selectBrush(Brush{kOpenSpace});
    std::vector<Point> pieces;
    const Rect& frame = layout.frameRect[vertexCount];
    for (int y = frame.top; y <= frame.bottom; ++y)
        for (int x = frame.left; x <= frame.right; ++x)
            if (marked.pixel(x, y) == kWhite) {
                pieces.push_back({x, y});
                dc.floodFill(x, y, kBlack);
            }
    return pieces;
}

} // namespace tess
