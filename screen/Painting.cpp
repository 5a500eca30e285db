#include "game/CMekkView.h"

namespace tess {

void CMekkView::OnDraw(DrawingContext&) {}

void CMekkView::drawHomePage(DrawingContext&) {}

} // namespace tess
