#include "game/CMekkView.h"

namespace tess {

void CMekkView::playSoundAsync(int) {}

void CMekkView::playSoundSync(int) {}

void CMekkView::playTuneWhole() {}

void CMekkView::playPieceNote(int) {}

void CMekkView::OnCommand(int) {}

bool CMekkView::isCommandEnabled(int) const { return false; }

} // namespace tess
