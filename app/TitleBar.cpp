// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

#include "app/TitleBar.h"

#include <QEvent>
#include <QFont>
#include <QFontMetrics>
#include <QMainWindow>
#include <QPainter>

namespace tess::app {

TitleBar::TitleBar(QMainWindow* window) : QWidget(window) {
    QFont bold = window->font();
    bold.setBold(true);
    setFont(bold);
    // As high as a desktop's usual title bar: the text with a third of its height above and
    // below it.
    const int height = QFontMetrics(font()).height() * 5 / 3;
    window->setContentsMargins(0, height, 0, 0);
    setGeometry(0, 0, window->width(), height);
    // Clicks on the bar do nothing: the window is neither moved nor sized by the player.
    setAttribute(Qt::WA_OpaquePaintEvent);
    window->installEventFilter(this);
}

bool TitleBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window()) {
        if (event->type() == QEvent::WindowTitleChange) update();
        if (event->type() == QEvent::Resize) setGeometry(0, 0, window()->width(), height());
    }
    return false;
}

void TitleBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& colours = palette();
    painter.fillRect(rect(), colours.color(QPalette::Window).darker(108));
    painter.setPen(colours.color(QPalette::Mid));
    painter.drawLine(0, height() - 1, width() - 1, height() - 1);
    painter.setPen(colours.color(QPalette::WindowText));
    const QRect room = rect().adjusted(8, 0, -8, -1);
    const QString title =
        QFontMetrics(font()).elidedText(window()->windowTitle(), Qt::ElideRight, room.width());
    painter.drawText(room, Qt::AlignCenter, title);
}

} // namespace tess::app
