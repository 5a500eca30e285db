// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The game's title bar drawn in its own window, for Wayland compositors that leave title bars to
// their clients (GNOME's mutter, weston): Qt's own would offer minimise, maximise and close
// buttons and a border to size the window by, which the game's window has none of.
#pragma once
#include <QWidget>

class QMainWindow;

namespace tess::app {

class TitleBar : public QWidget {
  public:
    // A bar across the top of the window, above its menu bar, showing the window's title as it
    // changes. The window's contents make room for it.
    explicit TitleBar(QMainWindow* window);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

} // namespace tess::app
