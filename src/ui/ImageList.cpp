#include "ui/ImageList.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <utility>

void ImageList::add(const QString &key, const QIcon &icon)
{
    for (Item &item : items_) {
        if (item.key == key) {
            item.icon = icon;
            return;
        }
    }
    items_.push_back({key, icon});
}

bool ImageList::contains(const QString &key) const
{
    for (const Item &item : items_)
        if (item.key == key) return true;
    return false;
}

QIcon ImageList::icon(const QString &key) const
{
    for (const Item &item : items_)
        if (item.key == key) return item.icon;
    return QIcon();
}

QPixmap ImageList::pixmap(const QString &key) const
{
    const QIcon i = icon(key);
    return i.isNull() ? QPixmap() : i.pixmap(size_);
}

QStringList ImageList::keys() const
{
    QStringList k;
    for (const Item &item : items_) k << item.key;
    return k;
}

namespace {

// Every picture is drawn in a square of `units` logical units, so one drawing
// serves the plain and the high-density pixmap.
using Drawing = void (*)(QPainter &);

QIcon render(Drawing draw, int size)
{
    QIcon icon;
    for (int scale : {1, 2}) {
        QPixmap pm(size * scale, size * scale);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(scale, scale);
        draw(p);
        p.end();
        pm.setDevicePixelRatio(scale);
        icon.addPixmap(pm);
    }
    return icon;
}

QPen pen(const QColor &c, qreal w = 1.0)
{
    QPen p(c, w);
    p.setJoinStyle(Qt::RoundJoin);
    p.setCapStyle(Qt::RoundCap);
    return p;
}

const QColor kInk(0x33, 0x3f, 0x4f);
const QColor kBlue(0x2f, 0x6f, 0xc8);
const QColor kLightBlue(0xcf, 0xe3, 0xfa);
const QColor kGreen(0x2e, 0x9b, 0x3f);
const QColor kRed(0xd2, 0x35, 0x2b);
const QColor kPaper(0xfd, 0xfd, 0xf8);
const QColor kYellow(0xf4, 0xc4, 0x30);

// A sheet of paper with a folded corner (24-unit drawings).
void sheet(QPainter &p, const QRectF &r)
{
    QPainterPath path;
    const qreal fold = r.width() * 0.3;
    path.moveTo(r.topLeft());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.bottomRight());
    path.lineTo(r.bottomLeft());
    path.closeSubpath();
    p.setPen(pen(kInk));
    p.setBrush(kPaper);
    p.drawPath(path);
    p.drawPolyline(QPolygonF({QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold),
                              QPointF(r.right(), r.top() + fold)}));
}

void textLines(QPainter &p, qreal left, qreal right, qreal top, int count, qreal step)
{
    p.setPen(pen(QColor(0x8a, 0x99, 0xad)));
    for (int i = 0; i < count; ++i) p.drawLine(QPointF(left, top + i * step), QPointF(right, top + i * step));
}

void pencil(QPainter &p, const QPointF &tip, qreal length, qreal width)
{
    p.save();
    p.translate(tip);
    p.rotate(-45);
    const qreal h = width / 2;
    p.setPen(pen(QColor(0x7a, 0x4a, 0x10), 0.8));
    p.setBrush(QColor(0xf0, 0x9a, 0x2a));
    p.drawRect(QRectF(width * 1.2, -h, length - width * 1.2, width));
    p.setBrush(QColor(0xf5, 0xd9, 0xa8));
    p.drawPolygon(QPolygonF({QPointF(0, 0), QPointF(width * 1.2, -h), QPointF(width * 1.2, h)}));
    p.setBrush(QColor(0xe8, 0x8a, 0x9a));
    p.drawRect(QRectF(length - width * 0.6, -h, width * 0.6, width));
    p.restore();
}

void arrow(QPainter &p, const QPointF &from, const QPointF &to, const QColor &c, qreal w)
{
    p.setPen(pen(c, w));
    p.setBrush(Qt::NoBrush);
    p.drawLine(from, to);
    const QPointF d = to - from;
    const qreal len = std::hypot(d.x(), d.y());
    const QPointF u = d / len;
    const QPointF n(-u.y(), u.x());
    const qreal head = w * 2.2;
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPolygon(QPolygonF({to + u * head * 0.6, to - u * head + n * head, to - u * head - n * head}));
}

void tray(QPainter &p)
{
    p.setPen(pen(kInk, 1.2));
    p.setBrush(QColor(0xd9, 0xdf, 0xe7));
    QPainterPath path;
    path.moveTo(3, 14);
    path.lineTo(3, 21);
    path.lineTo(21, 21);
    path.lineTo(21, 14);
    path.lineTo(16, 14);
    path.lineTo(15, 17);
    path.lineTo(9, 17);
    path.lineTo(8, 14);
    path.closeSubpath();
    p.drawPath(path);
}

void drawFilter(QPainter &p)
{
    QPainterPath funnel;
    funnel.moveTo(3, 4);
    funnel.lineTo(21, 4);
    funnel.lineTo(14, 12.5);
    funnel.lineTo(14, 20);
    funnel.lineTo(10, 22);
    funnel.lineTo(10, 12.5);
    funnel.closeSubpath();
    p.setPen(pen(QColor(0x1f, 0x4e, 0x8c), 1.2));
    p.setBrush(kLightBlue);
    p.drawPath(funnel);
    p.setBrush(kBlue);
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({QPointF(5.5, 5.5), QPointF(18.5, 5.5), QPointF(15, 9.5), QPointF(9, 9.5)}));
}

void drawDatabase(QPainter &p)
{
    const QColor body(0x5b, 0x8f, 0xd6), top(0xa9, 0xca, 0xf2);
    p.setPen(pen(QColor(0x1f, 0x4e, 0x8c), 1.1));
    for (int i = 2; i >= 0; --i) {
        const qreal y = 5 + i * 5.5;
        QPainterPath drum;
        drum.moveTo(4, y);
        drum.lineTo(4, y + 5);
        drum.arcTo(QRectF(4, y + 2.5, 16, 5), 180, 180);
        drum.lineTo(20, y);
        p.setBrush(body);
        p.drawPath(drum);
        p.setBrush(top);
        p.drawEllipse(QRectF(4, y - 2.5, 16, 5));
    }
}

void drawAbout(QPainter &p)
{
    p.setPen(pen(QColor(0x1f, 0x4e, 0x8c), 1.2));
    p.setBrush(kBlue);
    p.drawEllipse(QRectF(2.5, 2.5, 19, 19));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(10.5, 6, 3, 3));
    p.drawRoundedRect(QRectF(10.6, 10.5, 2.8, 8), 1, 1);
}

void drawClose(QPainter &p)
{
    p.setPen(pen(kInk, 1.1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2.5, 3.5, 19, 16));
    p.setBrush(kBlue);
    p.drawRect(QRectF(2.5, 3.5, 19, 4));
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawEllipse(QRectF(11, 10, 12, 12));
    p.setPen(pen(Qt::white, 1.8));
    p.drawLine(QPointF(14.3, 13.3), QPointF(19.7, 18.7));
    p.drawLine(QPointF(19.7, 13.3), QPointF(14.3, 18.7));
}

void drawNew(QPainter &p)
{
    sheet(p, QRectF(4.5, 2.5, 14, 19));
    textLines(p, 7, 14, 10, 4, 3);
    p.setPen(pen(QColor(0xb8, 0x86, 0x0b), 0.8));
    p.setBrush(kYellow);
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const qreal a = -M_PI / 2 + i * M_PI / 5;
        const qreal r = (i % 2) ? 2.4 : 5.2;
        star << QPointF(18 + r * std::cos(a), 17.5 + r * std::sin(a));
    }
    p.drawPolygon(star);
}

void drawModify(QPainter &p)
{
    sheet(p, QRectF(3.5, 2.5, 14, 19));
    textLines(p, 6, 13, 9, 4, 3);
    pencil(p, QPointF(11, 21), 15, 4);
}

void drawDelete(QPainter &p)
{
    p.setPen(pen(QColor(0x8e, 0x1b, 0x14), 6.0));
    p.drawLine(QPointF(6, 6), QPointF(18, 18));
    p.drawLine(QPointF(18, 6), QPointF(6, 18));
    p.setPen(pen(kRed, 4.0));
    p.drawLine(QPointF(6, 6), QPointF(18, 18));
    p.drawLine(QPointF(18, 6), QPointF(6, 18));
}

void drawRefresh(QPainter &p)
{
    p.setBrush(Qt::NoBrush);
    const QRectF ring(4.5, 4.5, 15, 15);
    for (int half = 0; half < 2; ++half) {
        p.setPen(pen(kGreen, 2.6));
        p.drawArc(ring, (30 + half * 180) * 16, 130 * 16);
        // Arrow head at the end of each arc, pointing along the turn.
        const qreal end = (160 + half * 180) * M_PI / 180;
        const QPointF tip(12 + 7.5 * std::cos(end), 12 - 7.5 * std::sin(end));
        const QPointF along(-std::sin(end), -std::cos(end));
        const QPointF out(std::cos(end), -std::sin(end));
        p.setPen(Qt::NoPen);
        p.setBrush(kGreen);
        p.drawPolygon(QPolygonF({tip + along * 3.2, tip - out * 3.2, tip + out * 3.2}));
        p.setBrush(Qt::NoBrush);
    }
}

void drawImport(QPainter &p)
{
    tray(p);
    arrow(p, QPointF(12, 2), QPointF(12, 13), kGreen, 2.6);
}

void drawExport(QPainter &p)
{
    tray(p);
    arrow(p, QPointF(12, 14), QPointF(12, 4), kBlue, 2.6);
}

// A chart on a sheet: axes, a falling curve and the arrow of the export.
void drawExportChart(QPainter &p)
{
    p.setPen(pen(QColor(0x55, 0x5f, 0x6d), 1.0));
    p.setBrush(QColor(0xf7, 0xf9, 0xfc));
    p.drawRect(QRectF(2.5, 2.5, 17, 17));
    p.setPen(pen(QColor(0x33, 0x33, 0x33), 1.2));
    p.drawLine(QPointF(5, 5), QPointF(5, 17));
    p.drawLine(QPointF(5, 17), QPointF(17, 17));
    QPainterPath curve;
    curve.moveTo(6, 6);
    curve.cubicTo(8, 14, 11, 15, 17, 15);
    p.setBrush(Qt::NoBrush);
    p.setPen(pen(QColor(0xd6, 0x27, 0x28), 1.6));
    p.drawPath(curve);
    arrow(p, QPointF(19, 22), QPointF(19, 12), kBlue, 2.4);
}

void drawSave(QPainter &p)
{
    p.setPen(pen(QColor(0x1f, 0x3a, 0x66), 1.1));
    p.setBrush(QColor(0x3b, 0x64, 0xa8));
    QPainterPath disk;
    disk.moveTo(3, 3);
    disk.lineTo(18, 3);
    disk.lineTo(21, 6);
    disk.lineTo(21, 21);
    disk.lineTo(3, 21);
    disk.closeSubpath();
    p.drawPath(disk);
    p.setBrush(QColor(0xe4, 0xe8, 0xee));
    p.drawRect(QRectF(7, 3, 10, 6));
    p.setBrush(QColor(0x3b, 0x64, 0xa8));
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(13.5, 4, 2, 4));
    p.setBrush(Qt::white);
    p.setPen(pen(QColor(0x1f, 0x3a, 0x66), 0.8));
    p.drawRect(QRectF(6, 12.5, 12, 8.5));
    textLines(p, 8, 16, 15.5, 2, 2.5);
}

void drawCalculate(QPainter &p)
{
    p.setPen(pen(QColor(0x2b, 0x2f, 0x36), 1.1));
    p.setBrush(QColor(0x5d, 0x66, 0x73));
    p.drawRoundedRect(QRectF(4, 1.5, 16, 21), 2, 2);
    p.setBrush(QColor(0xc8, 0xe6, 0xc0));
    p.setPen(pen(QColor(0x2b, 0x2f, 0x36), 0.8));
    p.drawRect(QRectF(6.5, 4, 11, 4.5));
    p.setPen(Qt::NoPen);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const bool op = col == 2;
            p.setBrush(op ? QColor(0xf0, 0x8c, 0x2a) : QColor(0xee, 0xee, 0xee));
            p.drawRoundedRect(QRectF(6.5 + col * 4, 10.5 + row * 3.9, 3, 2.8), 0.6, 0.6);
        }
    }
}

void drawNotepad(QPainter &p)
{
    p.setPen(pen(kInk, 1.1));
    p.setBrush(kPaper);
    p.drawRect(QRectF(4.5, 4, 15, 18));
    p.setBrush(QColor(0x3b, 0x8e, 0xd0));
    p.drawRect(QRectF(4.5, 4, 15, 3));
    textLines(p, 7, 17, 11, 4, 2.8);
    p.setPen(pen(QColor(0x60, 0x60, 0x60), 1.2));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 4; ++i) p.drawArc(QRectF(6.5 + i * 3.3, 1.8, 2.2, 4), 0, 180 * 16);
}

void drawQuit(QPainter &p)
{
    p.setPen(pen(QColor(0x5a, 0x3a, 0x1a), 1.1));
    p.setBrush(QColor(0xd8, 0xc3, 0xa0));
    p.drawRect(QRectF(3.5, 2.5, 11, 19));
    p.setBrush(QColor(0x9a, 0x62, 0x2a));
    p.drawPolygon(QPolygonF({QPointF(3.5, 2.5), QPointF(10, 4.5), QPointF(10, 23), QPointF(3.5, 21.5)}));
    p.setPen(Qt::NoPen);
    p.setBrush(kYellow);
    p.drawEllipse(QRectF(7.5, 12, 1.8, 1.8));
    arrow(p, QPointF(12.5, 12), QPointF(21.5, 12), kGreen, 2.6);
}

void drawData(QPainter &p)
{
    p.setPen(pen(kInk, 1.1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2.5, 3.5, 19, 17));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x4f, 0x9a, 0x5a));
    p.drawRect(QRectF(3, 4, 18, 4));
    p.setPen(pen(QColor(0x8a, 0x99, 0xad), 0.8));
    for (qreal y : {12.0, 16.0}) p.drawLine(QPointF(3, y), QPointF(21, y));
    for (qreal x : {8.5, 15.0}) p.drawLine(QPointF(x, 8), QPointF(x, 20.5));
}

// 16-unit drawings of the row icons and the small pictures.
void greenPlus(QPainter &p, const QRectF &r)
{
    p.setPen(pen(QColor(0x1d, 0x6b, 0x29), 0.9));
    p.setBrush(kGreen);
    const qreal t = r.width() / 3;
    const qreal l = r.left(), tp = r.top(), rt = r.right(), b = r.bottom();
    p.drawPolygon(
        QPolygonF({QPointF(l + t, tp), QPointF(rt - t, tp), QPointF(rt - t, tp + t), QPointF(rt, tp + t),
                   QPointF(rt, b - t), QPointF(rt - t, b - t), QPointF(rt - t, b), QPointF(l + t, b),
                   QPointF(l + t, b - t), QPointF(l, b - t), QPointF(l, tp + t), QPointF(l + t, tp + t)}));
}

void errorBadge(QPainter &p)
{
    p.setPen(pen(Qt::white, 1.0));
    p.setBrush(kRed);
    p.drawEllipse(QRectF(8.5, 8.5, 7, 7));
    p.setPen(pen(Qt::white, 1.4));
    p.drawLine(QPointF(12, 10.3), QPointF(12, 12.6));
    p.drawPoint(QPointF(12, 14.1));
}

void drawRowAdd(QPainter &p) { greenPlus(p, QRectF(2, 2, 12, 12)); }
void drawRowAddError(QPainter &p)
{
    greenPlus(p, QRectF(1, 1, 11, 11));
    errorBadge(p);
}
void drawRowEdit(QPainter &p) { pencil(p, QPointF(2, 14), 15, 4); }
void drawRowEditError(QPainter &p)
{
    pencil(p, QPointF(1.5, 12.5), 12.5, 3.6);
    errorBadge(p);
}
void drawRowOk(QPainter &p)
{
    p.setPen(pen(QColor(0x1d, 0x6b, 0x29), 3.0));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(2.5, 8.5), QPointF(6.5, 12.5), QPointF(13.5, 3.5)}));
}

void drawList(QPainter &p)
{
    p.setPen(pen(kInk, 0.9));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1.5, 1.5, 13, 13));
    for (int i = 0; i < 3; ++i) {
        const qreal y = 4.5 + i * 3.5;
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawRect(QRectF(3.5, y - 1, 2, 2));
        p.setPen(pen(QColor(0x6a, 0x77, 0x88), 1.0));
        p.drawLine(QPointF(7, y), QPointF(12.5, y));
    }
}

void drawPlus(QPainter &p) { greenPlus(p, QRectF(1.5, 1.5, 13, 13)); }

} // namespace

ImageList ToolbarImages()
{
    const std::pair<const char *, Drawing> drawings[] = {
        {"filter", drawFilter},   {"database", drawDatabase},
        {"about", drawAbout},     {"close", drawClose},
        {"new", drawNew},         {"modify", drawModify},
        {"delete", drawDelete},   {"refresh", drawRefresh},
        {"import", drawImport},   {"export", drawExport},
        {"save", drawSave},       {"calculate", drawCalculate},
        {"notepad", drawNotepad}, {"quit", drawQuit},
        {"data", drawData},       {"exportchart", drawExportChart}};
    ImageList list(QSize(24, 24));
    for (const auto &[key, draw] : drawings) list.add(QString::fromLatin1(key), render(draw, 24));
    return list;
}

ImageList RowImages()
{
    const std::pair<const char *, Drawing> drawings[] = {{"adderror", drawRowAddError},
                                                         {"add", drawRowAdd},
                                                         {"edit", drawRowEdit},
                                                         {"editerror", drawRowEditError},
                                                         {"ok", drawRowOk}};
    ImageList list(QSize(16, 16));
    for (const auto &[key, draw] : drawings) list.add(QString::fromLatin1(key), render(draw, 16));
    return list;
}

ImageList SmallImages()
{
    ImageList list(QSize(16, 16));
    list.add(QStringLiteral("list"), render(drawList, 16));
    list.add(QStringLiteral("plus"), render(drawPlus, 16));
    return list;
}
