// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

#include "app/ViewWidget.h"

#include "app/Accelerators.h"
#include "input/KeyCodes.h"

#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QRegion>
#include <QScopedValueRollback>

#include <algorithm>
#include <cmath>
#include <string_view>

namespace tess::app {

ViewWidget::ViewWidget(SoundDevice* audio, QWidget* parent)
    : QWidget(parent), platform_(*this, audio), view_(platform_) {
    setFocusPolicy(Qt::StrongFocus);
    // The canvas covers every pixel: Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The canvas looks the same whether the window is active or not: a palette without an
    // inactive look of its own spares the whole view a repaint when the window is activated
    // (the first one comes just before the first paint).
    QPalette same = palette();
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        const auto r = static_cast<QPalette::ColorRole>(role);
        same.setBrush(QPalette::Inactive, r, same.brush(QPalette::Active, r));
    }
    setPalette(same);
}

ViewWidget::~ViewWidget() = default;

int ViewWidget::letterAt(quint32 xkbKeycode) {
    // An XKB keycode is the kernel's key code plus 8, and the kernel numbers the keys by their
    // place on the keyboard, whatever the layout prints on them: the three letter rows.
    struct Row {
        quint32 first;
        std::string_view letters;
    };
    static constexpr Row rows[] = {{24, "QWERTYUIOP"}, {38, "ASDFGHJKL"}, {52, "ZXCVBNM"}};
    for (const Row& row : rows)
        if (xkbKeycode >= row.first && xkbKeycode - row.first < row.letters.size())
            return Qt::Key_A + (row.letters[xkbKeycode - row.first] - 'A');
    return 0;
}

bool ViewWidget::platformGivesKeyPlaces() {
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland"));
}

int ViewWidget::letterForNonLatinKey(const QKeyEvent& event) {
    // Qt names a character key by its upper-case character, and its own keys from
    // Qt::Key_Escape on: between the two lie the characters beyond Latin-1.
    const int key = event.key();
    if (key <= 0xff || key >= Qt::Key_Escape) return 0;
    return letterAt(event.nativeScanCode());
}

int ViewWidget::shortcutKey(const QKeyEvent& event, bool byPosition) {
    if (byPosition)
        if (const int letter = letterForNonLatinKey(event)) return letter;
    return event.key();
}

int ViewWidget::gameKey(const QKeyEvent& event, bool byPosition) {
    const auto mods = event.modifiers();
    // With Alt held a key is a system key, which the game never sees.
    if (mods & Qt::AltModifier) return -1;
    // The accelerator table reads keys as the shortcuts do, by the layout's letter.
    if (isAcceleratorKey(shortcutKey(event, byPosition), mods)) return -1;
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return vk::Return;
    case Qt::Key_Home:
        return vk::Home;
    case Qt::Key_End:
        return vk::End;
    case Qt::Key_F1:
        return vk::F1;
    default:
        break;
    }
    // The letters are a note keyboard: its notes run down the three letter rows, so a letter
    // is the key's place, not what the layout prints on it. The same 26 keys then play the
    // same notes under every layout, Latin or not: the key at the place of Q plays the note of
    // Q whether it prints Q, A (French) or the Cyrillic short i (Russian).
    // Where the platform gives no place (synthetic events, the offscreen platform), the
    // letter is Qt's key. Either way Shift and Caps Lock make no difference.
    const quint32 place = event.nativeScanCode();
    const int letter = byPosition && place != 0 ? letterAt(place) : event.key();
    if (letter >= Qt::Key_A && letter <= Qt::Key_Z) return vk::A + (letter - Qt::Key_A);
    return -1;
}

QRectF ViewWidget::canvasRect() const {
    const Canvas* canvas = view_.screen();
    const QRectF whole(0, 0, width(), height());
    if (!canvas || canvas->width() <= 0 || canvas->height() <= 0) return whole;
    const double ratio = devicePixelRatioF();
    const long w = std::lround(width() * ratio), h = std::lround(height() * ratio);
    const long cw = canvas->width(), ch = canvas->height();
    if (w == cw && h == ch) return whole;
    // A window k times the canvas or more, in device pixels: each canvas pixel is shown as
    // k x k whole pixels, for the largest such k, centred on whole pixels between white bars.
    const long k = std::min(w / cw, h / ch);
    if (k >= 1)
        return {double((w - k * cw) / 2) / ratio, double((h - k * ch) / 2) / ratio,
                double(k * cw) / ratio, double(k * ch) / ratio};
    // A window smaller than the canvas: scaled down to fit, with its proportions kept.
    const double scale = std::min(double(w) / double(cw), double(h) / double(ch));
    const double tw = double(cw) * scale, th = double(ch) * scale;
    return {(double(w) - tw) / 2 / ratio, (double(h) - th) / 2 / ratio, tw / ratio, th / ratio};
}

bool ViewWidget::toCanvas(QPointF pos, int& x, int& y) const {
    const Canvas* canvas = view_.screen();
    if (!canvas) return false;
    const QRectF r = canvasRect();
    if (r.width() <= 0 || r.height() <= 0) return false;
    const double cx = std::floor((pos.x() - r.left()) * canvas->width() / r.width());
    const double cy = std::floor((pos.y() - r.top()) * canvas->height() / r.height());
    if (cx < 0 || cy < 0 || cx >= canvas->width() || cy >= canvas->height()) return false;
    x = static_cast<int>(cx);
    y = static_cast<int>(cy);
    return true;
}

void ViewWidget::paintEvent(QPaintEvent* event) {
    const bool first = !firstPaintDone_ && (!placed_ || placed_());
    if (first) {
        firstPaintDone_ = true;
        // This paint shows the canvas: the game's request to show it has nothing more to do.
        const QScopedValueRollback held(platform_.presentHeld, true);
        view_.paint();
    }
    {
        QPainter painter(this);
        showCanvas(painter);
    }
    if (!first) return;
    // Should this event cover only part of the widget, the rest is shown at the next one.
    if (!QRegion(rect()).subtracted(event->region()).isEmpty()) update();
    // The window's first picture is whole, on its way to the screen.
    emit firstPainted();
}

void ViewWidget::showCanvas(QPainter& painter) {
    const Canvas* canvas = view_.screen();
    if (!canvas || canvas->width() <= 0 || canvas->height() <= 0) {
        painter.fillRect(rect(), Qt::white);
        return;
    }
    // The canvas itself, not a copy.
    QImage image(reinterpret_cast<const uchar*>(canvas->data()), canvas->width(), canvas->height(),
                 static_cast<qsizetype>(canvas->width()) * 4, QImage::Format_RGB32);
    const QRectF target = canvasRect();
    const double ratio = devicePixelRatioF();
    // The window of the first paint: the canvas pixel for pixel. (A window exactly k times
    // the canvas is shown whole too, but scaled, below.)
    if (target == QRectF(rect()) && std::lround(target.width() * ratio) == canvas->width() &&
        std::lround(target.height() * ratio) == canvas->height()) {
        image.setDevicePixelRatio(ratio);
        painter.drawImage(QPointF(0, 0), image);
        return;
    }
    painter.fillRect(rect(), Qt::white);
    // Whole pixels where the window holds the canvas at least once over; smoothing only where
    // it must shrink, so that nothing the game drew sharp is blurred.
    const bool shrinks = target.width() * ratio < canvas->width() - 0.5;
    painter.setRenderHint(QPainter::SmoothPixmapTransform, shrinks);
    painter.drawImage(target, image);
}

// The canvas shows no keyboard focus: gaining or losing it changes nothing there, where
// QWidget's own handlers would repaint the whole view (the window gets the focus just as it
// first shows).
void ViewWidget::focusInEvent(QFocusEvent* event) {
    event->accept();
}

void ViewWidget::focusOutEvent(QFocusEvent* event) {
    event->accept();
}

void ViewWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    int x = 0, y = 0;
    if (!toCanvas(event->position(), x, y)) return;
    emit clickForwarded(x, y);
    view_.OnLButtonDown(x, y);
    update();
}

// Qt delivers the second press of a double click as this event alone, and QWidget's own
// handler would pass it on as a press: the game takes it as a message it ignores.
void ViewWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
}

void ViewWidget::keyPressEvent(QKeyEvent* event) {
    event->accept();
    const auto mods = event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier |
                                            Qt::AltModifier | Qt::MetaModifier);
    // Qt's shortcuts read a letter only where some layout of the keyboard gives a Latin one:
    // under a Russian layout alone, Ctrl+P and Alt+F reach this widget. Pass them on by the
    // key's place, so the accelerators and the menus work under every layout.
    if (lettersByPosition_ && (mods & (Qt::ControlModifier | Qt::AltModifier)))
        if (const int letter = letterForNonLatinKey(*event))
            emit shortcutByPosition(QKeyCombination(mods, static_cast<Qt::Key>(letter)));
    const int code = gameKey(*event, lettersByPosition_);
    if (code < 0) return;
    emit keyForwarded(code);
    view_.OnKeyDown(code);
    // End, Enter and Home draw on the canvas: show it.
    update();
}

} // namespace tess::app
