// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QPolygonF>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QVector>

class QPainter;
class QRect;

// The program's own drawings: the main window's background and the equation
// pictures of the About windows. Drawn at the size asked for, so they stay
// sharp at any window size.
namespace Pictures {

// White ground, the greeting and the program's name left of centre, a faded
// skyline along the right.
void PaintBackground(QPainter &painter, const QRect &area);
QImage Background(const QSize &size);

// The program's own icon: a thermometer on a mineral-blue tile. One design on a
// 32 x 32 grid, painted at any size for the window and written as SVG for the
// desktop's menus.
struct IconShape {
    enum Kind { RoundedRect, Ellipse, Polygon };
    Kind kind;
    QRectF rect;
    qreal radius = 0;
    QPolygonF points;
    QColor color;
    // When valid, the fill runs from `color` at the top left to this colour at the
    // bottom right of the grid.
    QColor gradientEnd = QColor();
};
QVector<IconShape> ProgramIconShapes();
QImage ProgramIconImage(int px);
QIcon ProgramIcon();
QString ProgramIconSvg();

// 10³ ln α = A × 10⁶ / T² + B × 10³ / T + C, coloured, on light blue.
QPixmap IsoEquation(const QSize &size);
// log K = A / T + B in the same style.
QPixmap TraceEquation(const QSize &size);

} // namespace Pictures
