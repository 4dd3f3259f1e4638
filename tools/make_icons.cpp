// SPDX-License-Identifier: GPL-3.0-or-later
// Build step: writes the program's icon for the desktop's menus, from the same
// drawing the main window uses: lorvane.svg and lorvane-48.png, -128, -256.
//
//   make_icons FOLDER

#include "ui/Pictures.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_icons FOLDER\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(dir.path())) return 1;
    bool ok = true;
    for (int px : {48, 128, 256})
        ok =
            Pictures::ProgramIconImage(px).save(dir.filePath(QStringLiteral("lorvane-%1.png").arg(px))) && ok;
    QFile svg(dir.filePath(QStringLiteral("lorvane.svg")));
    ok = svg.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
         svg.write(Pictures::ProgramIconSvg().toUtf8()) > 0 && svg.flush() && ok;
    if (!ok) std::fprintf(stderr, "make_icons: cannot write into %s\n", argv[1]);
    return ok ? 0 : 1;
}
