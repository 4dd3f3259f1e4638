// SPDX-License-Identifier: GPL-3.0-or-later
// Every picture key of the program has a picture of its own.
#include "ui/Pictures.h"
#include "ui/ImageList.h"

#include <QImage>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {

QImage imageOf(const ImageList &list, const QString &key)
{
    return list.pixmap(key).toImage().convertToFormat(QImage::Format_ARGB32);
}

void expectDistinctPictures(const ImageList &list, int px)
{
    const QStringList keys = list.keys();
    for (int i = 0; i < keys.size(); ++i) {
        const QImage a = imageOf(list, keys[i]);
        ASSERT_FALSE(a.isNull()) << keys[i].toStdString();
        EXPECT_EQ(list.pixmap(keys[i]).deviceIndependentSize().toSize(), QSize(px, px));
        for (int j = 0; j < i; ++j)
            EXPECT_NE(a, imageOf(list, keys[j])) << keys[i].toStdString() << " = " << keys[j].toStdString();
    }
}

TEST(ImageLists, ToolbarPicturesForEveryKey)
{
    const ImageList list = ToolbarImages();
    EXPECT_EQ(list.keys(), QStringList({"filter", "database", "about", "close", "new", "modify", "delete",
                                        "refresh", "import", "export", "save", "calculate", "notepad", "quit",
                                        "data", "exportchart", "exportrefs"}));
    EXPECT_EQ(list.imageSize(), QSize(24, 24));
    expectDistinctPictures(list, 24);
}

TEST(ImageLists, RowIconsInTheirOrder)
{
    const ImageList list = RowImages();
    EXPECT_EQ(list.keys(), QStringList({"adderror", "add", "edit", "editerror", "ok"}));
    expectDistinctPictures(list, 16);
}

TEST(ImageLists, SmallPictures)
{
    const ImageList list = SmallImages();
    EXPECT_EQ(list.keys(), QStringList({"list", "plus"}));
    expectDistinctPictures(list, 16);
}

TEST(ImageLists, LookUpByKey)
{
    ImageList list(QSize(16, 16));
    QPixmap red(16, 16), blue(16, 16);
    red.fill(Qt::red);
    blue.fill(Qt::blue);
    list.add(QStringLiteral("b"), QIcon(red));
    list.add(QStringLiteral("a"), QIcon(red));
    list.add(QStringLiteral("b"), QIcon(blue)); // replaced in place
    EXPECT_EQ(list.keys(), QStringList({"b", "a"}));
    EXPECT_EQ(list.pixmap(QStringLiteral("b")).toImage().pixelColor(3, 3), QColor(Qt::blue));
    EXPECT_FALSE(list.contains(QStringLiteral("B")));
    EXPECT_TRUE(list.icon(QStringLiteral("none")).isNull());
    EXPECT_TRUE(list.pixmap(QStringLiteral("none")).isNull());
}

TEST(Background, WhiteGroundWithTheGreetingLeftAndTheSkylineRight)
{
    const QImage picture = Pictures::Background(QSize(1024, 768));
    ASSERT_EQ(picture.size(), QSize(1024, 768));
    auto inkIn = [&](const QRect &r) {
        int ink = 0;
        for (int y = r.top(); y <= r.bottom(); y += 2)
            for (int x = r.left(); x <= r.right(); x += 2)
                if (qGray(picture.pixel(x, y)) < 200) ++ink;
        return ink;
    };
    EXPECT_EQ(picture.pixelColor(5, 5), QColor(Qt::white));
    EXPECT_GT(inkIn(QRect(60, 250, 450, 120)), 200); // the greeting, left of centre
    EXPECT_EQ(inkIn(QRect(820, 0, 200, 100)), 0);    // sky above the towers
    // Faded: the skyline is never dark.
    int darkest = 255;
    for (int y = 300; y < 700; y += 3)
        for (int x = 700; x < 1024; x += 3) darkest = qMin(darkest, qGray(picture.pixel(x, y)));
    EXPECT_GT(darkest, 150);
    EXPECT_LT(darkest, 250);
}

TEST(ProgramIcon, TheSvgCarriesTheSameShapesAsThePaintedIcon)
{
    const QVector<Pictures::IconShape> shapes = Pictures::ProgramIconShapes();
    QXmlStreamReader svg(Pictures::ProgramIconSvg());
    int drawn = 0;
    QStringList fills;
    while (!svg.atEnd()) {
        if (svg.readNext() != QXmlStreamReader::StartElement) continue;
        const QStringView name = svg.name();
        if (name == QLatin1String("svg")) {
            EXPECT_EQ(svg.attributes().value("viewBox"), QLatin1String("0 0 32 32"));
        }
        if (name == QLatin1String("rect") || name == QLatin1String("ellipse") ||
            name == QLatin1String("polygon")) {
            ++drawn;
            fills << svg.attributes().value("fill").toString();
        }
    }
    EXPECT_FALSE(svg.hasError()) << svg.errorString().toStdString();
    ASSERT_EQ(drawn, shapes.size());
    EXPECT_EQ(fills[0], QStringLiteral("url(#shade1)"));
    // The mercury: the last shape, red in both.
    EXPECT_EQ(fills.last(), QStringLiteral("#d2352b"));
    const QImage painted = Pictures::ProgramIconImage(256);
    const QPointF bulb = shapes.last().rect.center() * 8;
    EXPECT_EQ(painted.pixelColor(bulb.toPoint()), QColor(0xd2, 0x35, 0x2b));
    EXPECT_EQ(qAlpha(painted.pixel(0, 0)), 0);
}

} // namespace
