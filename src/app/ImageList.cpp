#include "app/ImageList.h"

#include <QPainter>

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
QIcon placeholder(int size)
{
    QPixmap p(size, size);
    p.fill(Qt::gray);
    return QIcon(p);
}
} // namespace

ImageList ToolbarImages()
{
    ImageList list(QSize(24, 24));
    for (const char *key : {"filter", "database", "about", "close", "new", "modify", "delete", "refresh",
                            "import", "export", "save", "calculate", "notepad", "quit", "data"})
        list.add(QString::fromLatin1(key), placeholder(24));
    return list;
}

ImageList RowImages()
{
    ImageList list(QSize(16, 16));
    for (const char *key : {"adderror", "add", "edit", "editerror", "ok"})
        list.add(QString::fromLatin1(key), placeholder(16));
    return list;
}

ImageList SmallImages()
{
    ImageList list(QSize(16, 16));
    for (const char *key : {"list", "plus"}) list.add(QString::fromLatin1(key), placeholder(16));
    return list;
}
