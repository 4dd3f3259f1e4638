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
    const QString greeting = QStringLiteral("欢迎使用 Lorvane");
    const QString subtitle = QStringLiteral("矿物对地质温度计工作台");
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
