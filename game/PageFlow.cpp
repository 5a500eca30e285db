// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The page flow: every change of page or phase, each in one function, whichever key, click,
// menu or watched game asks for it. A handler that changes a whole page paints it again at
// once; one that changes part of the game page draws that part.
#include "game/CMekkView.h"
#include "sound/SoundBank.h"

namespace tess {

void CMekkView::beginDrawing() {
    gamePhase = kDrawing;
    pathLength = 1;
    gameAborted = false;
    watched = false;
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

void CMekkView::startShapeFrom(int shape, int startVertex, bool watch) {
    if (!screen()) return;
    currentPage = kGamePage;
    vertexCount = shape;
    beginDrawing();
    watched = watch;
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
    if (!watched) appendScoreToHistory();

    DrawingContext dc = clientDC();
    drawResult(pageOn(dc));
}

void CMekkView::abortGame(Point seed) {
    if (!screen()) return;
    gamePhase = kFinished;
    gameAborted = true;
    abortSeed = seed;
    abortColour = colourIndex;
    playSound(kErrorSound, false);

    DrawingContext dc = clientDC();
    const Page page = pageOn(dc);
    drawAbortMessage(page, vertexCount);
    // The finished page always shows the history, here as it stands: nothing is added.
    drawHistoryTable(page, historyCount, historyList);
}

} // namespace tess
