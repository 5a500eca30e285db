#include "app/ViewWidget.h"

#include "app/Accelerators.h"

#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tess::app {

ViewWidget::ViewWidget(SdlAudio* audio, QWidget* parent)
    : QWidget(parent), platform_(*this, audio), view_(platform_) {
    setFocusPolicy(Qt::StrongFocus);
    // The canvas covers every pixel: Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

ViewWidget::~ViewWidget() = default;

bool ViewWidget::isAccelerator(int key, Qt::KeyboardModifiers modifiers) {
    return isAcceleratorKey(key, modifiers);
}

int ViewWidget::gameKey(const QKeyEvent& event) {
    const int key = event.key();
    const auto mods = event.modifiers();
    // With Alt held a key is a system key, which the game never sees.
    if (mods & Qt::AltModifier) return -1;
    if (isAccelerator(key, mods)) return -1;
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_End:
        return 35;
    case Qt::Key_F1:
        return 112;
    default:
        break;
    }
    // Letters by key, not by text: Shift and Caps Lock make no difference.
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return 65 + (key - Qt::Key_A);
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

void ViewWidget::firstPaint() {
    firstPaintQueued_ = false;
    if (firstPaintDone_ || firstPaintHeld_) return;
    firstPaintDone_ = true;
    view_.paint();
    emit firstPainted();
}

void ViewWidget::holdFirstPaint(bool hold) {
    firstPaintHeld_ = hold;
    if (!hold && isVisible()) {
        QShowEvent event;
        showEvent(&event);
    }
}

void ViewWidget::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Paint once the events of the show (the final size among them) have been handled.
    if (!firstPaintDone_ && !firstPaintQueued_ && !firstPaintHeld_) {
        firstPaintQueued_ = true;
        QMetaObject::invokeMethod(this, &ViewWidget::firstPaint, Qt::QueuedConnection);
    }
}

void ViewWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
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

void ViewWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPointF pos = event->position();
    int x = 0, y = 0;
    if (!toCanvas(pos, x, y)) return;
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
    const int code = gameKey(*event);
    if (code < 0) return;
    emit keyForwarded(code);
    view_.OnKeyDown(code);
    // End, Enter and Home draw on the canvas: show it.
    update();
}

} // namespace tess::app
