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
        playSoundAsync(kErrorSound);
        return;
    }

    DrawingContext dc = clientDC();
    const Page page = pageOn(dc);
    // Lines, circles, the frame and pieces already coloured are not white.
    if (dc.getPixel(x, y) != kWhite) {
        playSoundAsync(kErrorSound);
        return;
    }

    // The fill is the rule: a piece is whatever it reaches.
    dc.selectBrush(pieceBrush[colourIndex]);
    dc.floodFill(x, y, kBlack);

    // A fill that reaches the probe point has escaped into the space round the shape: the
    // game ends there, with nothing recorded and no score. Where and in which colour the
    // fill started is kept, so that a repaint shows the same picture.
    const Point probe = layout.outsidePoint[vertexCount];
    if (dc.getPixel(probe.x, probe.y) != kWhite) {
        gamePhase = kFinished;
        gameAborted = true;
        abortSeed = {x, y};
        abortColour = colourIndex;
        playSoundAsync(kErrorSound);
        drawAbortMessage(page, vertexCount);
        // The finished page always shows the history, here as it stands: nothing is added.
        drawHistoryTable(page, historyCount, historyList);
        return;
    }

    const int piecesBefore = pieceCount;
    ++pieceCount;
    pieceSeed[pieceCount - 1] = {x, y};
    pieceColour[pieceCount] = colourIndex;
    colourIndex = colourIndex + 1 > kLastColour ? 1 : colourIndex + 1;

    drawNextColour(page, vertexCount, colourIndex);
    drawPiecesCounter(page);
    drawTuneBox(page, vertexCount, tuneIndex);

    // The piece's note: the tune's next one, starting over after its last (noteIndex).
    playPieceNote(piecesBefore);
}

} // namespace tess
