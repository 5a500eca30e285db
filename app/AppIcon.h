// The program's icon: a pentagon cut by a five-pointed star into yellow, cyan and green
// pieces round a red centre, transparent outside the pentagon.
#pragma once
#include <QIcon>
#include <QPixmap>

namespace tess::app {

// Reads the icon's pictures, on any thread, for the calls below to find them read. The first
// picture read loads Qt's image plugins, which the menu bar's making would otherwise load (its
// extension button reads its pictures through them).
void readAppIconPictures();
QPixmap appIconPixmap(int size);
// The icon at 16, 32 and 48 pixels.
QIcon appIcon();

} // namespace tess::app
