// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ImageList.h"

#include <QPainter>
#include <QSvgRenderer>

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

// The pictures are SVG files in the program's resources (src/ui/pictures),
// drawn at the list's size and at twice that for high-density screens.
static void initPictures() { Q_INIT_RESOURCE(pictures); }

namespace {

QIcon picture(const QString &path, int size)
{
    QSvgRenderer svg(path);
    QIcon icon;
    if (!svg.isValid()) return icon;
    for (int scale : {1, 2}) {
        QPixmap pm(size * scale, size * scale);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        svg.render(&p);
        p.end();
        pm.setDevicePixelRatio(scale);
        icon.addPixmap(pm);
    }
    return icon;
}

ImageList pictures(const char *folder, const QStringList &keys, int size)
{
    initPictures();
    ImageList list(QSize(size, size));
    for (const QString &key : keys)
        list.add(key, picture(QStringLiteral(":/pictures/%1/%2.svg").arg(QLatin1String(folder), key), size));
    return list;
}

} // namespace

ImageList ToolbarImages()
{
    return pictures("toolbar",
                    {"filter", "database", "about", "close", "new", "modify", "delete", "refresh", "import",
                     "export", "save", "calculate", "notepad", "quit", "data", "exportchart", "exportrefs"},
                    24);
}

ImageList RowImages() { return pictures("rows", {"adderror", "add", "edit", "editerror", "ok"}, 16); }

ImageList SmallImages() { return pictures("small", {"list", "plus"}, 16); }
