// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Pictures.h"

#include "ui/Fonts.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRect>
#include <QVector>

namespace Pictures {
namespace {

// Building outlines along the right, as fractions of the picture: left edge,
// width, height. Fixed so the picture is the same at every start.
struct Tower {
    double left, width, height;
    bool spire;
};
const Tower kTowers[] = {
    {0.50, 0.045, 0.22, false}, {0.54, 0.05, 0.34, false},  {0.585, 0.04, 0.28, false},
    {0.62, 0.055, 0.46, true},  {0.67, 0.045, 0.38, false}, {0.71, 0.06, 0.58, false},
    {0.765, 0.05, 0.44, false}, {0.81, 0.065, 0.70, true},  {0.87, 0.045, 0.52, false},
    {0.91, 0.05, 0.62, false},  {0.955, 0.05, 0.40, false},
};

QFont greetingFont(qreal pixelSize, bool bold)
{
    QFont f;
    f.setFamilies(Fonts::uiFamilies());
    f.setPixelSize(qMax(1, int(pixelSize)));
    f.setBold(bold);
    return f;
}

// The largest pixel size (up to `wanted`) at which the text fits the width.
qreal fitSize(const QString &text, qreal wanted, qreal width, bool bold)
{
    qreal size = wanted;
    while (size > 6) {
        if (QFontMetricsF(greetingFont(size, bold)).horizontalAdvance(text) <= width) break;
        size -= 1;
    }
    return size;
}

void paintSkyline(QPainter &painter, const QRect &area)
{
    QImage layer(area.size(), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    QPainter p(&layer);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = area.width(), h = area.height();
    const qreal ground = h * 0.92;
    for (const Tower &t : kTowers) {
        const QRectF body(t.left * w, ground - t.height * h, t.width * w, t.height * h);
        QLinearGradient shade(body.topLeft(), body.topRight());
        shade.setColorAt(0, QColor(0x8f, 0xa6, 0xbf));
        shade.setColorAt(1, QColor(0x6d, 0x86, 0xa3));
        p.setPen(Qt::NoPen);
        p.setBrush(shade);
        p.drawRect(body);
        if (t.spire) {
            p.drawPolygon(QPolygonF({QPointF(body.center().x() - body.width() * 0.08, body.top()),
                                     QPointF(body.center().x(), body.top() - h * 0.06),
                                     QPointF(body.center().x() + body.width() * 0.08, body.top())}));
        }
        // Rows of lit windows.
        p.setBrush(QColor(0xe6, 0xee, 0xf6));
        const qreal cell = qMax<qreal>(3.0, body.width() / 5);
        for (qreal y = body.top() + cell; y + cell < body.bottom(); y += cell * 1.6) {
            for (qreal x = body.left() + cell * 0.6; x + cell * 0.8 < body.right(); x += cell * 1.4)
                p.drawRect(QRectF(x, y, cell * 0.7, cell * 0.8));
        }
    }
    p.setBrush(QColor(0x9c, 0xae, 0xc2));
    p.drawRect(QRectF(w * 0.48, ground, w * 0.52, h * 0.01));

    // Fade towards the left and the top, so the skyline stays in the background.
    p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    QLinearGradient fade(QPointF(w * 0.48, 0), QPointF(w, 0));
    fade.setColorAt(0, QColor(0, 0, 0, 0));
    fade.setColorAt(0.45, QColor(0, 0, 0, 70));
    fade.setColorAt(1, QColor(0, 0, 0, 110));
    p.fillRect(layer.rect(), fade);
    p.end();
    painter.drawImage(area.topLeft(), layer);
}

void paintGreeting(QPainter &p, const QRect &area)
{
    const qreal w = area.width(), h = area.height();
    const QString greeting = QCoreApplication::translate("Background", "欢迎使用 Lorvane");
    const QString subtitle = QCoreApplication::translate("Background", "矿物对地质温度计工作台");
    const qreal left = area.left() + w * 0.08;
    const qreal room = w * 0.52;
    const qreal big = fitSize(greeting, h * 0.085, room, true);
    const qreal small = fitSize(subtitle, big * 0.45, room, false);
    const qreal baseline = area.top() + h * 0.42;

    p.setFont(greetingFont(big, true));
    p.setPen(QColor(0x24, 0x4a, 0x7a));
    p.drawText(QPointF(left, baseline), greeting);

    p.setFont(greetingFont(small, false));
    p.setPen(QColor(0x6a, 0x7a, 0x8c));
    p.drawText(QPointF(left + big * 0.05, baseline + small * 1.8), subtitle);

    p.setPen(QPen(QColor(0xe0, 0x8a, 0x2c), qMax<qreal>(1.5, big * 0.06)));
    const qreal ruleY = baseline + small * 2.6;
    p.drawLine(QPointF(left, ruleY), QPointF(left + qMin(room, big * 4.0), ruleY));
}

} // namespace

void PaintBackground(QPainter &painter, const QRect &area)
{
    painter.save();
    painter.fillRect(area, Qt::white);
    if (area.width() > 0 && area.height() > 0) {
        paintSkyline(painter, area);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        paintGreeting(painter, area);
    }
    painter.restore();
}

QImage Background(const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    PaintBackground(p, image.rect());
    p.end();
    return image;
}

} // namespace Pictures
