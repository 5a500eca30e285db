#include "game/CMekkView.h"

namespace tess {

void CMekkView::addLine(int, int) {}

void CMekkView::drawBoard(DrawingContext&) {}

void CMekkView::drawLinesCounter(DrawingContext&) {}

} // namespace tess
