#include "game/CMekkView.h"

namespace tess {

void CMekkView::drawHistory(DrawingContext&, bool) {}

} // namespace tess
