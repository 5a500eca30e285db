#include "game/CMekkView.h"

namespace tess {

void CMekkView::layoutPass(DrawingContext&) {}

} // namespace tess
