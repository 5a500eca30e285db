#include "game/CMekkView.h"

namespace tess {

void CMekkView::OnKeyDown(int) {}

} // namespace tess
