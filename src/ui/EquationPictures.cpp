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
namespace {

// A run of an equation: text in one colour, raised when it is an exponent.
struct Run {
    QString text;
    QColor color;
    bool raised = false;
};
// A term: runs on one line, or a fraction with runs above and below the bar.
struct Term {
    QVector<Run> line;
    QVector<Run> over;
    QVector<Run> under;
    bool fraction() const { return !over.isEmpty(); }
};

QFont equationFont(qreal pixelSize)
{
    QFont f;
    f.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("DejaVu Serif"),
                   QStringLiteral("Liberation Serif"), QStringLiteral("serif")});
    f.setPixelSize(qMax(1, int(pixelSize)));
    f.setItalic(true);
    return f;
}

qreal runsWidth(const QVector<Run> &runs, qreal size)
{
    qreal width = 0;
    for (const Run &r : runs)
        width += QFontMetricsF(equationFont(r.raised ? size * 0.62 : size)).horizontalAdvance(r.text);
    return width;
}

void drawRuns(QPainter &p, const QVector<Run> &runs, qreal x, qreal baseline, qreal size)
{
    for (const Run &r : runs) {
        const QFont f = equationFont(r.raised ? size * 0.62 : size);
        p.setFont(f);
        p.setPen(r.color);
        p.drawText(QPointF(x, r.raised ? baseline - size * 0.38 : baseline), r.text);
        x += QFontMetricsF(f).horizontalAdvance(r.text);
    }
}

qreal termWidth(const Term &t, qreal size)
{
    if (!t.fraction()) return runsWidth(t.line, size);
    return qMax(runsWidth(t.over, size), runsWidth(t.under, size)) + size * 0.3;
}

QPixmap equation(const QSize &size, const QVector<Term> &terms)
{
    const qreal dpr = 2.0;
    QPixmap pm(size * dpr);
    pm.setDevicePixelRatio(dpr);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF r(0, 0, size.width(), size.height());
    QLinearGradient ground(r.topLeft(), r.bottomLeft());
    ground.setColorAt(0, QColor(0xe6, 0xf2, 0xff));
    ground.setColorAt(1, QColor(0xc9, 0xe2, 0xfb));
    p.fillRect(r, ground);
    p.setPen(QPen(QColor(0x8c, 0xb4, 0xdc), 1));
    p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));

    // The font size at which the whole equation, fractions stacked, fits.
    const qreal gap = 0.35;
    qreal fontSize = size.height() * 0.36;
    auto totalWidth = [&](qreal s) {
        qreal wsum = 0;
        for (const Term &t : terms) wsum += termWidth(t, s) + s * gap;
        return wsum - s * gap;
    };
    while (fontSize > 6 && totalWidth(fontSize) > r.width() * 0.92) fontSize -= 0.5;

    qreal x = (r.width() - totalWidth(fontSize)) / 2;
    const qreal axis = r.height() / 2;
    const qreal lineBaseline = axis + fontSize * 0.3;
    for (const Term &t : terms) {
        const qreal tw = termWidth(t, fontSize);
        if (!t.fraction()) {
            drawRuns(p, t.line, x, lineBaseline, fontSize);
        } else {
            p.setPen(QPen(QColor(0x33, 0x33, 0x55), qMax<qreal>(1.0, fontSize * 0.05)));
            p.drawLine(QPointF(x + fontSize * 0.1, axis), QPointF(x + tw - fontSize * 0.1, axis));
            drawRuns(p, t.over, x + (tw - runsWidth(t.over, fontSize)) / 2, axis - fontSize * 0.25, fontSize);
            drawRuns(p, t.under, x + (tw - runsWidth(t.under, fontSize)) / 2, axis + fontSize * 0.95,
                     fontSize);
        }
        x += tw + fontSize * gap;
    }
    p.end();
    return pm;
}

const QColor kLeft(0x1a, 0x3d, 0x8f);
const QColor kSign(0x33, 0x33, 0x55);
const QColor kA(0xc0, 0x28, 0x28);
const QColor kB(0x1e, 0x7d, 0x32);
const QColor kC(0x8e, 0x24, 0xaa);
const QColor kT(0xb3, 0x5c, 0x00);

} // namespace

QPixmap IsoEquation(const QSize &size)
{
    const QString times = QStringLiteral(" × ");
    QVector<Term> terms;
    terms.push_back({{{QStringLiteral("10"), kLeft},
                      {QStringLiteral("3"), kLeft, true},
                      {QStringLiteral(" ln α"), kLeft}},
                     {},
                     {}});
    terms.push_back({{{QStringLiteral("="), kSign}}, {}, {}});
    terms.push_back({{},
                     {{QStringLiteral("A"), kA},
                      {times, kSign},
                      {QStringLiteral("10"), kA},
                      {QStringLiteral("6"), kA, true}},
                     {{QStringLiteral("T"), kT}, {QStringLiteral("2"), kT, true}}});
    terms.push_back({{{QStringLiteral("+"), kSign}}, {}, {}});
    terms.push_back({{},
                     {{QStringLiteral("B"), kB},
                      {times, kSign},
                      {QStringLiteral("10"), kB},
                      {QStringLiteral("3"), kB, true}},
                     {{QStringLiteral("T"), kT}}});
    terms.push_back({{{QStringLiteral("+"), kSign}}, {}, {}});
    terms.push_back({{{QStringLiteral("C"), kC}}, {}, {}});
    return equation(size, terms);
}

QPixmap TraceEquation(const QSize &size)
{
    QVector<Term> terms;
    terms.push_back({{{QStringLiteral("log K"), kLeft}}, {}, {}});
    terms.push_back({{{QStringLiteral("="), kSign}}, {}, {}});
    terms.push_back({{}, {{QStringLiteral("A"), kA}}, {{QStringLiteral("T"), kT}}});
    terms.push_back({{{QStringLiteral("+"), kSign}}, {}, {}});
    terms.push_back({{{QStringLiteral("B"), kB}}, {}, {}});
    return equation(size, terms);
}

} // namespace Pictures
