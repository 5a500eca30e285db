// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The yardstick of the game's first paint: a bare Qt window, shown as the game's frame shows
// itself (the screen's whole available area, fixed), that prints "painted" on standard output
// once its first paint event has run, and then waits to be ended.
#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QWidget>

#include <cstdio>

namespace {

class BareWindow : public QWidget {
  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), Qt::white);
        if (painted_) return;
        painted_ = true;
        std::puts("painted");
        std::fflush(stdout);
    }

  private:
    bool painted_ = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    BareWindow window;
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    window.setGeometry(area);
    window.setFixedSize(area.size());
    window.show();
    window.activateWindow();
    return QApplication::exec();
}
