#include "game/CMekkView.h"

namespace tess {

void CMekkView::makeTools() {}

void CMekkView::fitPieceColours(DrawingContext&) {}

} // namespace tess
