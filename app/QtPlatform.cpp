// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

#include "app/QtPlatform.h"

#include "app/SoundDevice.h"

#include <QMessageBox>
#include <QString>
#include <QWidget>

#include <cmath>

namespace tess::app {

Size QtPlatform::clientSize() {
    const double ratio = view_.devicePixelRatioF();
    return {static_cast<int>(std::lround(view_.width() * ratio)),
            static_cast<int>(std::lround(view_.height() * ratio))};
}

double QtPlatform::pixelRatio() {
    return view_.devicePixelRatioF();
}

void QtPlatform::present() {
    // At once, not later: a synchronous note may follow and hold the user-interface thread.
    if (view_.isVisible() && !presentHeld) view_.repaint();
}

void QtPlatform::playSound(int, const std::uint8_t* wave, std::size_t size, bool synchronous) {
    if (audio_) audio_->play(wave, size, synchronous);
}

void QtPlatform::messageBox(const std::string& text) {
    showMessage(view_.window(), QString::fromStdString(text));
    // Without a window manager nobody gives the keyboard back when the box closes.
    view_.window()->activateWindow();
    view_.setFocus();
}

void QtPlatform::setWindowTitle(const std::string& title) {
    view_.window()->setWindowTitle(QString::fromStdString(title));
}

void showMessage(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Tessarin"), text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace tess::app
