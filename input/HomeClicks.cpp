#include "game/CMekkView.h"

namespace tess {

void CMekkView::homeClick(int, int) {}

} // namespace tess
