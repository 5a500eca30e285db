// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

#include "app/AppIcon.h"

// The shell is a static library: its built-in pictures must be registered by hand, once.
static bool registerIconPictures() {
    Q_INIT_RESOURCE(icons);
    return true;
}

namespace tess::app {

// The pictures are the desktop icon's own (dist/icons, drawn from dist/icons/tessarin.svg by
// dist/make-icons.sh), built into the program.
QPixmap appIconPixmap(int size) {
    static const bool registered = registerIconPictures();
    (void)registered;
    return QPixmap(QStringLiteral(":/icons/%1.png").arg(size));
}

QIcon appIcon() {
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addPixmap(appIconPixmap(size));
    return icon;
}

} // namespace tess::app
