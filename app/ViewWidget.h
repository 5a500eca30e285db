// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The widget that hosts the game view: it shows the view's canvas and turns Qt's mouse and
// key events into the view's clicks and key codes.
#pragma once
#include "app/QtPlatform.h"
#include "game/CMekkView.h"

#include <QPoint>
#include <QWidget>

#include <functional>

class QPainter;

namespace tess::app {

class ViewWidget : public QWidget {
    Q_OBJECT
  public:
    explicit ViewWidget(SoundDevice* audio, QWidget* parent = nullptr);
    ~ViewWidget() override;

    CMekkView& view() { return view_; }
    const CMekkView& view() const { return view_; }
    bool firstPaintDone() const { return firstPaintDone_; }
    // Whether the window stands at its final place and size, asked at each paint event until
    // the first paint: the game paints in the first paint event for which it holds, so that
    // the window's first picture is the game's, drawn at its final size. Empty: at once.
    void setPlaced(std::function<bool()> placed) { placed_ = std::move(placed); }

    // The game's key code for a key press, or -1 when the view must not see it: keys with
    // Alt, the accelerator table's combinations, and keys the game has no code for. With
    // byPosition the letters are read by the key's place on the keyboard (see letterAt).
    static int gameKey(const QKeyEvent& event, bool byPosition = false);

    // The letter key (Qt::Key_A to Qt::Key_Z) at an XKB keycode's place on a PC keyboard, named
    // as on a US keyboard, or 0 for a key that is no letter there.
    static int letterAt(quint32 xkbKeycode);
    // Whether this desktop's key events name the key's place: on X11 and Wayland a key event's
    // native scan code is its XKB keycode.
    static bool platformGivesKeyPlaces();
    // The letter at the key's place when the layout's own key is not a Latin one (a Cyrillic
    // letter, say), else 0: a key that Qt's shortcuts and menus cannot read as a letter.
    static int letterForNonLatinKey(const QKeyEvent& event);
    // The key a shortcut reads: the layout's own key where it is a Latin one, as Qt's own
    // shortcuts read it, else, with byPosition, the letter at the key's place.
    static int shortcutKey(const QKeyEvent& event, bool byPosition);

    // Whether this widget reads letters by their place; on by default where the platform
    // names places.
    bool lettersByPosition() const { return lettersByPosition_; }
    void setLettersByPosition(bool on) { lettersByPosition_ = on; }

    // Where the canvas is shown, in the widget's logical pixels: the whole widget while its
    // size is the first paint's; in a window k times the canvas or more (device pixels), the
    // canvas with each pixel k x k, centred between white bars; in a smaller window, the canvas
    // scaled down to fit, with white bars.
    QRectF canvasRect() const;
    // A widget position in canvas pixels; false when it lies outside the canvas.
    bool toCanvas(QPointF pos, int& x, int& y) const;

  signals:
    void keyForwarded(int key);
    // A Ctrl or Alt combination that Qt's shortcuts could not read, because the layout's
    // letter is not a Latin one, named by the letter at the key's place (Ctrl+P under a
    // Russian layout, for example).
    void shortcutByPosition(QKeyCombination keys);
    void clickForwarded(int x, int y);
    void firstPainted();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool) override { return false; }

  private:
    // Draws the canvas into the widget, as canvasRect() places it.
    void showCanvas(QPainter& painter);

    QtPlatform platform_;
    CMekkView view_;
    bool firstPaintDone_ = false;
    std::function<bool()> placed_;
    bool lettersByPosition_ = platformGivesKeyPlaces();
};

} // namespace tess::app
