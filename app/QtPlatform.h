// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The game's desktop on Qt: the view widget's size, its repaint, SDL sound, Qt message
// boxes and the main window's title.
#pragma once
#include "game/Platform.h"

#include <QString>

class QWidget;

namespace tess {
class SoundDevice;
}

namespace tess::app {

class QtPlatform : public Platform {
  public:
    // `view` is the widget that shows the canvas; `audio` may be null (silent).
    QtPlatform(QWidget& view, SoundDevice* audio) : view_(view), audio_(audio) {}
    Size clientSize() override;
    double pixelRatio() override;
    void present() override;
    void playSound(int resource, const std::uint8_t* wave, std::size_t size,
                   bool synchronous) override;
    void messageBox(const std::string& text) override;
    void setWindowTitle(const std::string& title) override;

    // While it holds, present() does nothing: the view is painting, and that paint shows the
    // canvas.
    bool presentHeld = false;

  private:
    QWidget& view_;
    SoundDevice* audio_;
};

// A modal message box captioned "Tessarin" with one OK button and no icon.
void showMessage(QWidget* parent, const QString& text);

} // namespace tess::app
