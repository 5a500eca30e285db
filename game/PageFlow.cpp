// The page flow: every change of page or phase, each in one function, whichever key, click,
// menu or watched game asks for it. A handler that changes a whole page paints it again at
// once; one that changes part of the game page draws that part.
#include "game/CMekkView.h"

namespace tess {

void CMekkView::beginDrawing() {
    gamePhase = kDrawing;
    pathLength = 1;
    gameAborted = false;
}

void CMekkView::redrawPage() {
    DrawingContext dc = clientDC();
    OnDraw(dc);
}

void CMekkView::startShape(int shape) {
    if (!screen()) return;
    currentPage = kGamePage;
    vertexCount = shape;
    beginDrawing();
    path[1] = nextRandom() % vertexCount + 1;
    // Only the first game after start-up still has startVertexChosen 0, so its paint draws
    // the start vertex once more, and that draw stands.
    redrawPage();
}

void CMekkView::startShapeFrom(int shape, int startVertex) {
    if (!screen()) return;
    currentPage = kGamePage;
    vertexCount = shape;
    beginDrawing();
    path[1] = startVertex;
    startVertexChosen = 1;
    paint();
}

void CMekkView::playAgain() {
    if (!screen()) return;
    // A new game with the same shape; its first paint picks the start vertex.
    startVertexChosen = 0;
    beginDrawing();
    redrawPage();
}

void CMekkView::returnHome() {
    if (!screen()) return;
    currentPage = kHomePage;
    beginDrawing();
    colourIndex = 0; // the next game's colours start from the beginning
    redrawPage();
}

void CMekkView::beginColouring() {
    if (!screen()) return;
    gamePhase = kColouring;
    pieceCount = 0;
    gameAborted = false;

    DrawingContext dc = clientDC();
    const Page page = pageOn(dc);
    drawColouringFurniture(page, vertexCount, colourIndex);
    drawPiecesCounter(page);
    drawTuneBox(page, vertexCount, tuneIndex);
}

void CMekkView::scoreGame() {
    if (!screen()) return;
    // The rules first: the score, its note and, for the player's own game, the history.
    gamePhase = kFinished;
    score = computeScore();
    scoreNote = scoreNoteText();
    if (scoreToHistory) appendScoreToHistory();

    DrawingContext dc = clientDC();
    drawResult(pageOn(dc));
}

} // namespace tess
