#include "app/AppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <numbers>

namespace tess::app {

namespace {

QPointF intersection(QPointF a, QPointF b, QPointF c, QPointF d) {
    const double den = (a.x() - b.x()) * (c.y() - d.y()) - (a.y() - b.y()) * (c.x() - d.x());
    const double t = ((a.x() - c.x()) * (c.y() - d.y()) - (a.y() - c.y()) * (c.x() - d.x())) / den;
    return a + t * (b - a);
}

} // namespace

QPixmap appIconPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    // The pentagon's corners, the first at the top.
    const double centre = size / 2.0;
    const double radius = size / 2.0 - 0.75;
    QPointF corner[5];
    for (int i = 0; i < 5; ++i) {
        const double angle = -std::numbers::pi / 2 + i * 2 * std::numbers::pi / 5;
        corner[i] = {centre + radius * std::cos(angle),
                     centre + 0.06 * size + radius * std::sin(angle)};
    }
    // The star's inner corners: inner[i] lies between corner i and corner i+1.
    QPointF inner[5];
    for (int i = 0; i < 5; ++i)
        inner[i] =
            intersection(corner[i], corner[(i + 2) % 5], corner[(i + 1) % 5], corner[(i + 4) % 5]);

    const QColor yellow(255, 255, 0), cyan(0, 255, 255), green(0, 192, 0), red(255, 0, 0);
    p.setPen(Qt::NoPen);
    // The five pieces along the pentagon's sides, cyan and green in turn.
    for (int i = 0; i < 5; ++i) {
        p.setBrush(i % 2 ? green : cyan);
        p.drawPolygon(QPolygonF({corner[i], corner[(i + 1) % 5], inner[i]}));
    }
    // The star's five points.
    p.setBrush(yellow);
    for (int i = 0; i < 5; ++i)
        p.drawPolygon(QPolygonF({corner[i], inner[i], inner[(i + 4) % 5]}));
    // The centre.
    p.setBrush(red);
    p.drawPolygon(QPolygonF({inner[0], inner[1], inner[2], inner[3], inner[4]}));

    // The lines: the pentagon and the star.
    QPen pen(Qt::black);
    pen.setWidthF(size >= 32 ? 1.5 : 1.0);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(QPolygonF({corner[0], corner[1], corner[2], corner[3], corner[4]}));
    p.drawPolygon(QPolygonF({corner[0], corner[2], corner[4], corner[1], corner[3]}));
    return pixmap;
}

QIcon appIcon() {
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addPixmap(appIconPixmap(size));
    return icon;
}

} // namespace tess::app
