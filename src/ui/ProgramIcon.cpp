// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Pictures.h"

#include "ui/Fonts.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRect>
#include <QVector>

namespace Pictures {

QVector<IconShape> ProgramIconShapes()
{
    const QColor crystal(0x9f, 0xd8, 0xc4, 200);
    const QColor mercury(0xd2, 0x35, 0x2b);
    QVector<IconShape> shapes;
    IconShape tile{IconShape::RoundedRect, QRectF(1, 1, 30, 30), 6, {}, QColor(0x3d, 0x7c, 0xc9)};
    tile.gradientEnd = QColor(0x1f, 0x4e, 0x8c);
    shapes << tile;
    // A facetted crystal behind the thermometer.
    shapes << IconShape{IconShape::Polygon,
                        {},
                        0,
                        QPolygonF({QPointF(19, 9), QPointF(26, 13), QPointF(26, 22), QPointF(19, 26),
                                   QPointF(15, 22), QPointF(15, 13)}),
                        crystal};
    shapes << IconShape{IconShape::RoundedRect, QRectF(8, 4, 6, 19), 3, {}, Qt::white};
    shapes << IconShape{IconShape::Ellipse, QRectF(6, 19, 10, 10), 0, {}, Qt::white};
    shapes << IconShape{IconShape::RoundedRect, QRectF(9.6, 11, 2.8, 12), 1.4, {}, mercury};
    shapes << IconShape{IconShape::Ellipse, QRectF(8, 21, 6, 6), 0, {}, mercury};
    return shapes;
}

QImage ProgramIconImage(int px)
{
    QImage image(px, px, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(px / 32.0, px / 32.0);
    p.setPen(Qt::NoPen);
    for (const IconShape &shape : ProgramIconShapes()) {
        if (shape.gradientEnd.isValid()) {
            // Light top left to dark bottom right, across the whole grid.
            QLinearGradient shade(0, 0, 32, 32);
            shade.setColorAt(0, shape.color);
            shade.setColorAt(1, shape.gradientEnd);
            p.setBrush(shade);
        } else {
            p.setBrush(shape.color);
        }
        switch (shape.kind) {
        case IconShape::RoundedRect: p.drawRoundedRect(shape.rect, shape.radius, shape.radius); break;
        case IconShape::Ellipse: p.drawEllipse(shape.rect); break;
        case IconShape::Polygon: p.drawPolygon(shape.points); break;
        }
    }
    p.end();
    return image;
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (int px : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(QPixmap::fromImage(ProgramIconImage(px)));
    return icon;
}

namespace {
QString svgNumber(qreal v) { return QString::number(v, 'g', 6); }

QString svgColor(const QColor &c) { return c.name(QColor::HexRgb); }

// fill="#rrggbb" with fill-opacity when the colour is not opaque.
QString svgFill(const QColor &c)
{
    QString fill = QStringLiteral("fill=\"%1\"").arg(svgColor(c));
    if (c.alpha() != 255) fill += QStringLiteral(" fill-opacity=\"%1\"").arg(svgNumber(c.alphaF()));
    return fill;
}
} // namespace

QString ProgramIconSvg()
{
    QString svg = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
                                 "viewBox=\"0 0 32 32\">\n");
    int gradients = 0;
    for (const IconShape &shape : ProgramIconShapes()) {
        QString fill;
        if (shape.gradientEnd.isValid()) {
            const QString id = QStringLiteral("shade%1").arg(++gradients);
            svg +=
                QStringLiteral("  <defs><linearGradient id=\"%1\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" "
                               "y1=\"0\" x2=\"32\" y2=\"32\"><stop offset=\"0\" stop-color=\"%2\"/>"
                               "<stop offset=\"1\" stop-color=\"%3\"/></linearGradient></defs>\n")
                    .arg(id, svgColor(shape.color), svgColor(shape.gradientEnd));
            fill = QStringLiteral("fill=\"url(#%1)\"").arg(id);
        } else {
            fill = svgFill(shape.color);
        }
        const QRectF &r = shape.rect;
        switch (shape.kind) {
        case IconShape::RoundedRect:
            svg += QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" %6/>\n")
                       .arg(svgNumber(r.x()), svgNumber(r.y()), svgNumber(r.width()), svgNumber(r.height()),
                            svgNumber(shape.radius), fill);
            break;
        case IconShape::Ellipse:
            svg += QStringLiteral("  <ellipse cx=\"%1\" cy=\"%2\" rx=\"%3\" ry=\"%4\" %5/>\n")
                       .arg(svgNumber(r.center().x()), svgNumber(r.center().y()), svgNumber(r.width() / 2),
                            svgNumber(r.height() / 2), fill);
            break;
        case IconShape::Polygon: {
            QStringList points;
            for (const QPointF &pt : shape.points)
                points << svgNumber(pt.x()) + QLatin1Char(',') + svgNumber(pt.y());
            svg += QStringLiteral("  <polygon points=\"%1\" %2/>\n").arg(points.join(QLatin1Char(' ')), fill);
            break;
        }
        }
    }
    svg += QStringLiteral("</svg>\n");
    return svg;
}

} // namespace Pictures
