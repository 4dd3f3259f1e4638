// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

class QChart;
class QWidget;

// A chart as a figure for a paper: PDF, SVG or PNG at a size given in
// millimetres (and, for PNG, a resolution in dpi), drawn afresh at that size,
// on white, without the window's frame.
namespace FigureExport {

enum class Format { Pdf, Svg, Png };

struct Size {
    double widthMm = 160, heightMm = 100;
    int dpi = 600;
};

// The limits a size is held to.
constexpr double kMinMm = 20, kMaxMm = 1000;
constexpr int kMinDpi = 72, kMaxDpi = 2400;

// Fills a chart as the window's would be filled.
using Fill = std::function<void(QChart *)>;

// The figure's bytes; empty, with why, when it cannot be drawn.
QByteArray Render(const Fill &fill, Format format, const Size &size, QString *why);

// Asks where (the type follows the file's extension or the filter chosen) and
// at what size, then writes the figure whole. The path written, or "" when the
// user cancelled or the file could not be written (said in a message).
QString Export(QWidget *parent, const Fill &fill);

} // namespace FigureExport
