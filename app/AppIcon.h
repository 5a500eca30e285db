// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The program's icon: a pentagon cut by a five-pointed star into yellow, cyan and green
// pieces round a red centre, transparent outside the pentagon.
#pragma once
#include <QIcon>
#include <QPixmap>

namespace tess::app {

// The icon as drawn at 16, 32 or 48 pixels.
QPixmap appIconPixmap(int size);
// The icon at 16, 32 and 48 pixels.
QIcon appIcon();

} // namespace tess::app
