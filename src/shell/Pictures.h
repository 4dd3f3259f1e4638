#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSize>

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

// The program's own icon: a thermometer on a mineral-blue tile.
QIcon ProgramIcon();

// 10³ ln α = A × 10⁶ / T² + B × 10³ / T + C, coloured, on light blue.
QPixmap IsoEquation(const QSize &size);
// log K = A / T + B in the same style.
QPixmap TraceEquation(const QSize &size);

} // namespace Pictures
