#include "game/CMekkView.h"

namespace tess {

void CMekkView::makePictures() {}

} // namespace tess
