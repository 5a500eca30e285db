#include "game/CMekkView.h"

namespace tess {

void CMekkView::beginColouring() {}

void CMekkView::colourPiece(int, int) {}

void CMekkView::drawTuneBox(DrawingContext&) {}

void CMekkView::drawPiecesCounter(DrawingContext&) {}

} // namespace tess
