// The score of a finished game, the result panel, and the repaint of the colouring and
// finished states.
#include "game/CMekkView.h"
#include "game/ShapeTable.h"
#include "game/TextColours.h"

#include <cstdint>
#include <cstdio>

namespace tess {

namespace {

// Swatch and tune box erased, the explanation in the message line, the score, its note
// and the history table: what End shows and what a repaint of a scored game shows again.
void drawResultPanel(CMekkView& view, DrawingContext& dc, bool appendToHistory) {
    const int shape = view.vertexCount;
    dc.selectFont(view.normalFont);
    dc.fillRect(view.layout.swatchRect[shape], view.whiteBrush);
    dc.fillRect(view.layout.tuneBox[shape], view.whiteBrush);
    dc.setTextColour(kBlack);
    const Rect& message = view.layout.messageRect[shape];
    dc.fillRect(message, view.whiteBrush);
    dc.drawTextFitted(view.explanationText, message, TextForm::WordWrap);
    view.score = view.computeScore();
    view.drawScore(dc);
    view.drawHistory(dc, appendToHistory);
}

} // namespace

int CMekkView::computeScore() const {
    const std::int32_t lines = pathLength - 1;
    const std::int32_t pieces = pieceCount;
    const std::int32_t most = maxLines(vertexCount) * maxPieces(vertexCount);
    if (most <= 0) return 0;
    const std::int32_t base = (100 * lines * pieces + most / 2) / most;
    return base * difficultyFactor(vertexCount);
}

void CMekkView::scoreGame() {
    // Keys reach a game only after the first paint has made the canvas.
    if (!screen()) return;
    gamePhase = kFinished;
    DrawingContext dc = clientDC();
    drawResultPanel(*this, dc, scoreToHistory);
}

void CMekkView::drawScore(DrawingContext& dc) {
    dc.setTransparentBackground();
    std::snprintf(textBuffer, sizeof textBuffer, "%i", score);
    dc.selectFont(largeBoldFont);
    dc.setTextColour(kScoreColour);
    dc.drawText(textBuffer, layout.scoreRect, TextForm::SingleRight);
    dc.selectFont(normalFont);
    dc.setTextColour(kLabelColour);
    dc.drawText("Score:", layout.scoreRect, TextForm::SingleLeft);

    scoreNote = std::string("The score shown above has been multiplied by ") +
                factorText[vertexCount] + " which is the difficulty factor for the " +
                shapeNameText[vertexCount] + " \nTherefore, the maximum score for this shape is " +
                maxScoreText[vertexCount];
    dc.selectFont(boldFont);
    dc.setTextColour(kNoteColour);
    dc.drawTextFitted(scoreNote, layout.explanationRect, TextForm::WordWrap);
    dc.setTextColour(kBlack);
}

void CMekkView::drawColouringState(DrawingContext& dc) {
    drawColouringFurniture(dc);
    drawPiecesCounter(dc);

    // Every recorded piece again, from its seed, in its own colour and in the order coloured.
    const int pieces = pieceCount < kMaxPieces ? pieceCount : kMaxPieces;
    for (int n = 1; n <= pieces; ++n) {
        dc.selectBrush(pieceBrush[pieceColour[n]]);
        dc.floodFill(pieceSeed[n - 1].x, pieceSeed[n - 1].y, kBlack);
    }

    if (gamePhase == kColouring) {
        drawTuneBox(dc);
    } else if (gamePhase == kFinished) {
        if (gameAborted) {
            // The picture the abort left: the escaped fill and the abort message, no score.
            dc.selectBrush(pieceBrush[abortColour]);
            dc.floodFill(abortSeed.x, abortSeed.y, kBlack);
            drawAbortMessage(dc);
        } else {
            drawResultPanel(*this, dc, false);
        }
    }
}

} // namespace tess
