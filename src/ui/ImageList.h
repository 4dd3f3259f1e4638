// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QList>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QStringList>

// Pictures looked up by key, in the order they were added: the toolbar and
// row-icon lists every window shares. Keys are compared exactly.
class ImageList {
  public:
    explicit ImageList(QSize imageSize = QSize(16, 16)) : size_(imageSize) {}

    // Adds a picture, or replaces the one already stored under the key (keeping its place).
    void add(const QString &key, const QIcon &icon);
    bool contains(const QString &key) const;
    // The picture of the key; a null icon when there is none.
    QIcon icon(const QString &key) const;
    // The picture at the list's own size; a null pixmap when there is none.
    QPixmap pixmap(const QString &key) const;
    QStringList keys() const;
    int count() const { return int(items_.size()); }
    QSize imageSize() const { return size_; }

  private:
    struct Item {
        QString key;
        QIcon icon;
    };
    QSize size_;
    QList<Item> items_;
};

// 24-pixel pictures for every toolbar key of the program: "filter", "database",
// "about", "close", "new", "modify", "delete", "refresh", "import", "export",
// "save", "calculate", "notepad", "quit", "data".
ImageList ToolbarImages();
// 16-pixel row icons of the managers' lists, in order: "adderror", "add",
// "edit", "editerror", "ok".
ImageList RowImages();
// Other 16-pixel pictures: "list" (the managers' type-list link) and "plus"
// (the olivine window's add button).
ImageList SmallImages();
