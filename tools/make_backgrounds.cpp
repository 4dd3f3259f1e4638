// SPDX-License-Identifier: GPL-3.0-or-later
// Build step: draws the pictures offered in the background dialog's folder
// (back/ beside the program), so a fresh install has something to choose.
#include "ui/Pictures.h"

#include <QDir>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <cmath>
#include <cstdio>

namespace {

// Folded rock strata under a pale sky: the geologist's own wallpaper.
QImage strata(const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width(), h = size.height();
    QLinearGradient sky(0, 0, 0, h * 0.45);
    sky.setColorAt(0, QColor(0xf4, 0xf8, 0xfc));
    sky.setColorAt(1, QColor(0xff, 0xff, 0xff));
    p.fillRect(image.rect(), sky);

    const QColor layers[] = {QColor(0xe8, 0xdc, 0xc4), QColor(0xd9, 0xc3, 0x9e), QColor(0xe3, 0xd2, 0xb8),
                             QColor(0xc9, 0xb0, 0x8c), QColor(0xd6, 0xc9, 0xb5), QColor(0xbf, 0xa8, 0x8a),
                             QColor(0xcf, 0xbe, 0xa6), QColor(0xb5, 0x9f, 0x85)};
    const int count = int(sizeof layers / sizeof layers[0]);
    for (int i = 0; i < count; ++i) {
        const qreal top = h * (0.42 + i * 0.075);
        QPainterPath band;
        band.moveTo(0, h);
        for (int x = 0; x <= int(w); x += 8) {
            // A gentle anticline, steeper towards the right.
            const qreal fold = std::sin(x / w * M_PI * 1.3 + 0.4) * h * 0.09 * (0.6 + x / w);
            band.lineTo(x, top - fold + std::sin(x * 0.021 + i) * 3.0);
        }
        band.lineTo(w, h);
        band.closeSubpath();
        p.setPen(QPen(layers[i].darker(112), 1.2));
        p.setBrush(layers[i]);
        p.drawPath(band);
    }
    // Pebbles of a conglomerate bed.
    QRandomGenerator rng(1981);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 260; ++i) {
        const qreal x = rng.bounded(w), y = h * 0.75 + rng.bounded(h * 0.25);
        const qreal r = 1.5 + rng.bounded(3.5);
        p.setBrush(QColor(0x8a, 0x78, 0x64, 90));
        p.drawEllipse(QPointF(x, y), r * 1.3, r);
    }
    p.end();
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_backgrounds FOLDER\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(dir.path())) return 1;
    bool ok = Pictures::Background(QSize(800, 600)).save(dir.filePath(QStringLiteral("skyline.bmp")));
    ok =
        Pictures::Background(QSize(1024, 768)).save(dir.filePath(QStringLiteral("skyline.jpg")), "JPG", 90) &&
        ok;
    ok = strata(QSize(1024, 768)).save(dir.filePath(QStringLiteral("strata.jpg")), "JPG", 88) && ok;
    return ok ? 0 : 1;
}
