// The colouring phase: End's frame, the colouring click with its leak test, the colour
// cycle, the per-piece note and the tune box.
#include "game/CMekkView.h"
#include "game/ShapeTable.h"
#include "game/TextColours.h"
#include "sound/SoundBank.h"

#include <cstdio>
#include <string>

namespace tess {

namespace {

constexpr const char* kColourMessage = "Now color each complete puzzle piece by clicking inside "
                                       "its borders. When you are done, press the End key.";
constexpr const char* kAbortMessage = "Game Aborted. Press the Enter key to try again or the "
                                      "Home key to return to the Home page.";

constexpr int kLastColour = 80;

} // namespace

void CMekkView::beginColouring() {
    // Keys reach a game only after the first paint has made the canvas.
    if (!screen()) return;
    gamePhase = kColouring;
    pieceCount = 0;
    gameAborted = false;

    DrawingContext dc = clientDC();
    drawColouringFurniture(dc);
    drawPiecesCounter(dc);
    drawTuneBox(dc);
}

void CMekkView::drawColouringFurniture(DrawingContext& dc) {
    dc.setTransparentBackground();
    dc.selectPen(mediumPen);
    dc.selectFont(normalFont);

    // The frame: an unfilled outline drawn corner to corner, back to where it started.
    const Rect& frame = layout.frameRect[vertexCount];
    dc.moveTo(frame.left, frame.top);
    dc.lineTo(frame.right, frame.top);
    dc.lineTo(frame.right, frame.bottom);
    dc.lineTo(frame.left, frame.bottom);
    dc.lineTo(frame.left, frame.top);

    dc.setTextColour(kBlack);
    const Rect& message = layout.messageRect[vertexCount];
    dc.fillRect(message, whiteBrush);
    dc.drawTextFitted(kColourMessage, message, TextForm::SingleLeft);

    const Rect& swatch = layout.swatchRect[vertexCount];
    dc.fillRect(swatch, pieceBrush[colourIndex]);
    dc.drawText("Next Color", swatch, TextForm::SingleCentre);
}

void CMekkView::drawPiecesCounter(DrawingContext& dc) {
    drawCounter(dc, layout.piecesRect, "# of pieces:", pieceCount, layout.maxPiecesRect,
                maxPieces(vertexCount));
}

void CMekkView::drawTuneBox(DrawingContext& dc) {
    dc.setTransparentBackground();
    dc.selectBrush(pinkBrush);
    dc.selectPen(redPen);
    const Rect& box = layout.tuneBox[vertexCount];
    dc.rectangle(box);
    dc.selectFont(normalFont);
    std::snprintf(textBuffer, sizeof textBuffer, "%i", tuneIndex + 1);
    const std::string text = std::string("Current Tune: ") + textBuffer;
    dc.drawText(text, box, TextForm::SingleCentre);
}

void CMekkView::drawAbortMessage(DrawingContext& dc) {
    dc.setTransparentBackground();
    dc.setTextColour(kBlack);
    dc.selectFont(normalFont);
    const Rect& message = layout.messageRect[vertexCount];
    dc.fillRect(layout.swatchRect[vertexCount], whiteBrush);
    dc.fillRect(layout.tuneBox[vertexCount], whiteBrush);
    dc.fillRect(message, whiteBrush);
    dc.drawTextFitted(kAbortMessage, message, TextForm::SingleLeft);
}

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
    // Lines, circles, the frame and pieces already coloured are not white.
    if (dc.getPixel(x, y) != kWhite) {
        playSoundAsync(kErrorSound);
        return;
    }

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
        drawAbortMessage(dc);
        return;
    }

    const int colour = colourIndex;
    colourIndex = colourIndex + 1 > kLastColour ? 1 : colourIndex + 1;
    const Rect& swatch = layout.swatchRect[vertexCount];
    dc.fillRect(swatch, pieceBrush[colourIndex]);

    dc.selectFont(normalFont);
    dc.setTextColour(kBlack);
    dc.drawText("Next Color", swatch, TextForm::SingleCentre);

    const int piecesBefore = pieceCount;
    ++pieceCount;
    pieceSeed[pieceCount - 1] = {x, y};
    pieceColour[pieceCount] = colour;

    drawPiecesCounter(dc);
    dc.setTextColour(kBlack);
    drawTuneBox(dc);

    // The piece's note: the tune's next one, starting over after its last (noteIndex).
    playPieceNote(piecesBefore);
}

} // namespace tess
