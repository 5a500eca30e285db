// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The one QApplication of the shell tests, made at first use on the offscreen platform.
#pragma once
#include "app/CMekkApp.h"
#include "app/ViewWidget.h"

#include <functional>
#include <utility>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWindow>

// Qt's own entries for synthetic input that goes the whole way through the application:
// shortcuts first, then the focus widget; double clicks recognised as on a real desktop.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k,
                                               Qt::KeyboardModifiers mods, const QString& text,
                                               bool autorep, ushort count);
Q_GUI_EXPORT void qt_handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global,
                                      Qt::MouseButtons state, Qt::MouseButton button,
                                      QEvent::Type type, Qt::KeyboardModifiers mods, int timestamp);

namespace tess::test {

inline QApplication& qtApp() {
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "shell_tests";
        static char* argv[] = {name, nullptr};
        auto* a = new QApplication(argc, argv);
        tess::app::CMekkApp::setNames();
        return a;
    }();
    return *app;
}

// How long a test waits for what it needs before it counts it as never coming: a limit only
// a hang reaches, however busy the machine. A test never asserts how long something took.
constexpr int kHangMs = 120000;

// Handles events until done() holds, or for at most ms milliseconds; whether it holds.
inline bool waitUntil(const std::function<bool()>& done, int ms = kHangMs) {
    QElapsedTimer clock;
    clock.start();
    QTimer tick; // wakes the wait at least every 10 ms, to look again
    tick.start(10);
    while (!done() && clock.elapsed() < ms)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return done();
}

// Handles events until the widget's first paint is done.
inline void waitForFirstPaint(const tess::app::ViewWidget& w) {
    waitUntil([&w] { return w.firstPaintDone(); });
}

// A key press as the desktop delivers it: the shortcuts see it first.
inline void pressKey(QWidget* focus, int key, Qt::KeyboardModifiers mods = Qt::NoModifier,
                     bool autoRepeat = false) {
    QApplication::processEvents(); // a window activated a moment ago takes its shortcuts
    if (qt_sendShortcutOverrideEvent(focus, 0, key, mods, QString(), autoRepeat, 1)) return;
    QKeyEvent press(QEvent::KeyPress, key, mods, QString(), autoRepeat);
    QApplication::sendEvent(focus, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, QString(), autoRepeat);
    QApplication::sendEvent(focus, &release);
}

// A key press as X11 or Wayland delivers it, with the key's place (its XKB keycode): the
// shortcuts see it first, by Qt's key, as where no layout of the keyboard is a Latin one.
inline void pressPlacedKey(QWidget* focus, int key, quint32 place,
                           Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QApplication::processEvents();
    if (qt_sendShortcutOverrideEvent(focus, 0, key, mods, QString(), false, 1)) return;
    QKeyEvent press(QEvent::KeyPress, key, mods, place, 0, 0);
    QApplication::sendEvent(focus, &press);
}

// What a view widget passed on to the game.
struct Forwarded {
    std::vector<int> keys;
    std::vector<std::pair<int, int>> clicks;
    explicit Forwarded(tess::app::ViewWidget* w) {
        QObject::connect(w, &tess::app::ViewWidget::keyForwarded, w,
                         [this](int k) { keys.push_back(k); });
        QObject::connect(w, &tess::app::ViewWidget::clickForwarded, w,
                         [this](int x, int y) { clicks.emplace_back(x, y); });
    }
};

} // namespace tess::test
